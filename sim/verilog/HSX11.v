// Simulation model of HSX11, a transceiver lane (written from
// sim/hsx/HSX.v.in by sim/hsx/HsxModels.cmake; edit the template).
//
// Clocks. After 4 rising edges of REFCLK with the period of REFCLK_FREQ
// (within 0.5 %) the lane's PLL is locked and the serial bit clock runs at
// LINE_RATE (Gbit/s); LINE_RATE must equal
// 2 x REFCLK_FREQ x PLL_MULT / PLL_REFDIV / PLL_RATEDIV (MHz / 1000).
// TXREFOUT is the transmit word clock (LINE_RATE x code rate /
// TX_DATA_WIDTH, code rate 8/10 with 8B10B, 64/66 with 64B66B, 1 with NONE)
// and RXCDRCLK the receive word clock, both from the PLL; TXFABCLK and
// RXFABCLK take and give one word a rising edge and must run at those rates.
// TXFABCLK2 and RXFABCLK2 are not used.
//
// Transmit: TXDATA[TX_DATA_WIDTH-1:0] enters a buffer of 16 words on each
// rising edge of TXFABCLK while TXRESET is low. The serializer starts half a
// word after a TXREFOUT rising edge and sends one word (8B10B, NONE) or one
// 66-bit block (64B66B) at a time once the buffer holds it, else an idle word
// (8B10B: K28.5 then D16.2 bytes; 64B66B: a control block of type 0x1E;
// NONE: zeros). 8B10B codes byte 0 first with running disparity; TXISCTRL[i]
// makes byte i a control character (K28.0 to K28.7, K23.7, K27.7, K29.7,
// K30.7) and TXDISPMODE[i] forces the disparity the byte is coded with to
// TXDISPVAL[i] (1 positive). 64B66B sends the sync header (01 data, 10
// control when TXISCTRL[0] of the block's first word is set) and the 64
// payload bits, first word's bit 0 first, through the scrambler
// x^58 + x^39 + 1. Bits go out first bit first on TXP, inverted on TXN;
// TXPOLARITY inverts them, TXMUTE and POWERDOWN drive both low. TXFIFOERR is
// high for a word when the buffer ran empty after starting, or was full.
//
// Receive: the bit clock's phase follows the edges of RXP (RXN is not
// looked at; RXP equal to RXN or unknown means no signal), sampling mid-bit.
// 8B10B: with COMMA_DETECT a comma (0011111 or 1100000, the first seven bits
// of K28.1, K28.5, K28.7) aligns the symbols, and puts that character in
// byte 0 of RXDATA (COMMA_ALIGN_MSB FALSE) or in the highest byte (TRUE),
// while RXALIGNEN is high. Four bad characters in a row lose the alignment.
// RXISCTRL, RXRDERR and RXBADCODE flag per byte a control character, a
// disparity error and a code not in the tables. 64B66B: the lane slips one
// bit at a time until 32 sync headers in a row are valid, loses the lock at
// 16 bad headers among 64, descrambles, and gives RXISCTRL[0] set on the
// first word of a control block, RXBADCODE[0] on a bad header. NONE: the
// word boundary is where the first bit was received. Aligned words enter a
// buffer of 32 words read one a rising edge of RXFABCLK from the first edge
// that finds a word in it; an alignment change empties it. RXSYNCLOST[0] is
// high while not aligned, RXSYNCLOST[1] once alignment was lost after
// RXRESET. RXFIFOSTAT is 11 for a cycle when the buffer ran empty or full
// and 00 otherwise; RXPOLARITY inverts the received bits.
//
// Latency with TXFABCLK and RXFABCLK driven from TXREFOUT: see
// docs/simulation.md (a fixed number of word clocks per data width and code).
//
// Loopback: LOOPBACK 00 takes LOOPBACK_MODE; 01 or NEAR_END_PCS and 10 or
// NEAR_END_PMA feed the serial bits into the receiver (both take the same
// path here), TXP still sending; 11 or FAR_END_PMA sends RXP back out on TXP.
//
// Not modelled: clock correction (CLK_COMP, CLK_COMP_SEQ: with equal clock
// rates none is needed; a buffer running empty or full with CLK_COMP TRUE is
// reported as an error), lane bonding (LANE_BOND_MODE: no pins join the
// lanes, each lane aligns alone; a note says so), TX_BUFFER_USE and
// RX_BUFFER_USE FALSE (the buffers stay), the analog settings TXSWING,
// TXEMPH and RXEQ, COMMA_VALUE USER (no pattern to match: an error).
`timescale 1ps/1ps
module HSX11 #(
    parameter real LINE_RATE = 6.500,
    parameter real REFCLK_FREQ = 250.0,
    parameter integer TX_DATA_WIDTH = 32,
    parameter integer RX_DATA_WIDTH = 32,
    parameter TX_ENCODING = "8B10B",
    parameter RX_DECODING = "8B10B",
    parameter COMMA_DETECT = "TRUE",
    parameter COMMA_VALUE = "K28.5",
    parameter COMMA_ALIGN_MSB = "FALSE",
    parameter CLK_COMP = "TRUE",
    parameter integer CLK_COMP_SEQ_LEN = 1,
    parameter LANE_BOND_MODE = "NONE",
    parameter LOOPBACK_MODE = "NONE",
    parameter TX_BUFFER_USE = "TRUE",
    parameter RX_BUFFER_USE = "TRUE",
    parameter LOC = "",
    parameter CLK_COMP_SEQ = "K28.0",
    parameter integer PLL_MULT = 13,
    parameter integer PLL_REFDIV = 1,
    parameter integer PLL_RATEDIV = 1
) (
    input wire RXP,
    input wire RXN,
    output wire TXP,
    output wire TXN,
    input wire REFCLK,
    input wire RXFABCLK,
    input wire RXFABCLK2,
    input wire TXFABCLK,
    input wire TXFABCLK2,
    input wire RXRESET,
    input wire TXRESET,
    input wire [39:0] TXDATA,
    input wire [4:0] TXISCTRL,
    input wire [4:0] TXDISPMODE,
    input wire [4:0] TXDISPVAL,
    output wire [39:0] RXDATA,
    output wire [4:0] RXISCTRL,
    output wire [4:0] RXRDERR,
    output wire [4:0] RXBADCODE,
    output wire RXCDRCLK,
    output wire TXREFOUT,
    output wire [1:0] RXSYNCLOST,
    output wire [1:0] RXFIFOSTAT,
    output wire TXFIFOERR,
    input wire [1:0] LOOPBACK,
    input wire POWERDOWN,
    input wire RXPOLARITY,
    input wire TXPOLARITY,
    input wire TXMUTE,
    input wire [2:0] TXSWING,
    input wire [3:0] TXEMPH,
    input wire [1:0] RXEQ,
    input wire RXALIGNEN
);
    localparam integer MAX_WIDTH = 40;
    localparam integer CODE_NONE = 0, CODE_8B10B = 1, CODE_64B66B = 2;
    localparam integer TX_CODE = (TX_ENCODING == "8B10B") ? CODE_8B10B :
                                 (TX_ENCODING == "64B66B") ? CODE_64B66B : CODE_NONE;
    localparam integer RX_CODE = (RX_DECODING == "8B10B") ? CODE_8B10B :
                                 (RX_DECODING == "64B66B") ? CODE_64B66B : CODE_NONE;
    localparam integer TX_BYTES = TX_DATA_WIDTH / 8;
    localparam integer RX_BYTES = RX_DATA_WIDTH / 8;
    localparam real    BIT_PS = 1000.0 / LINE_RATE;
    // Line bits a word takes, as a real (a 16-bit word of 64B66B is 16.5).
    localparam real    TX_WORD_BITS = (TX_CODE == CODE_8B10B) ? TX_DATA_WIDTH * 10.0 / 8.0 :
                                      (TX_CODE == CODE_64B66B) ? TX_DATA_WIDTH * 66.0 / 64.0 : TX_DATA_WIDTH * 1.0;
    localparam real    RX_WORD_BITS = (RX_CODE == CODE_8B10B) ? RX_DATA_WIDTH * 10.0 / 8.0 :
                                      (RX_CODE == CODE_64B66B) ? RX_DATA_WIDTH * 66.0 / 64.0 : RX_DATA_WIDTH * 1.0;
    // Words a transmitted unit holds: a 66-bit block, else one word.
    localparam integer TX_UNIT_WORDS = (TX_CODE == CODE_64B66B) ? 64 / TX_DATA_WIDTH : 1;
    localparam integer RX_UNIT_WORDS = (RX_CODE == CODE_64B66B) ? 64 / RX_DATA_WIDTH : 1;
    localparam integer TX_DEPTH = 16, RX_DEPTH = 32;

    // ---- 8b/10b coding ------------------------------------------------
    // Codes are written first bit (a) in bit 9 down to the last (j) in bit 0.

    // The 6-bit code of the five low bits for negative running disparity.
    function [5:0] code6_neg(input [4:0] x);
        case (x)
            5'd0: code6_neg = 6'b100111;  5'd1: code6_neg = 6'b011101;  5'd2: code6_neg = 6'b101101;
            5'd3: code6_neg = 6'b110001;  5'd4: code6_neg = 6'b110101;  5'd5: code6_neg = 6'b101001;
            5'd6: code6_neg = 6'b011001;  5'd7: code6_neg = 6'b111000;  5'd8: code6_neg = 6'b111001;
            5'd9: code6_neg = 6'b100101;  5'd10: code6_neg = 6'b010101; 5'd11: code6_neg = 6'b110100;
            5'd12: code6_neg = 6'b001101; 5'd13: code6_neg = 6'b101100; 5'd14: code6_neg = 6'b011100;
            5'd15: code6_neg = 6'b010111; 5'd16: code6_neg = 6'b011011; 5'd17: code6_neg = 6'b100011;
            5'd18: code6_neg = 6'b010011; 5'd19: code6_neg = 6'b110010; 5'd20: code6_neg = 6'b001011;
            5'd21: code6_neg = 6'b101010; 5'd22: code6_neg = 6'b011010; 5'd23: code6_neg = 6'b111010;
            5'd24: code6_neg = 6'b110011; 5'd25: code6_neg = 6'b100110; 5'd26: code6_neg = 6'b010110;
            5'd27: code6_neg = 6'b110110; 5'd28: code6_neg = 6'b001110; 5'd29: code6_neg = 6'b101110;
            5'd30: code6_neg = 6'b011110; default: code6_neg = 6'b101011;
        endcase
    endfunction

    // The 4-bit code of the three high bits of a data byte for negative disparity.
    function [3:0] code4_neg(input [2:0] y);
        case (y)
            3'd0: code4_neg = 4'b1011; 3'd1: code4_neg = 4'b1001; 3'd2: code4_neg = 4'b0101;
            3'd3: code4_neg = 4'b1100; 3'd4: code4_neg = 4'b1101; 3'd5: code4_neg = 4'b1010;
            3'd6: code4_neg = 4'b0110; default: code4_neg = 4'b1110;
        endcase
    endfunction

    // ... and of a control character.
    function [3:0] code4k_neg(input [2:0] y);
        case (y)
            3'd0: code4k_neg = 4'b1011; 3'd1: code4k_neg = 4'b0110; 3'd2: code4k_neg = 4'b1010;
            3'd3: code4k_neg = 4'b1100; 3'd4: code4k_neg = 4'b1101; 3'd5: code4k_neg = 4'b0101;
            3'd6: code4k_neg = 4'b1001; default: code4k_neg = 4'b0111;
        endcase
    endfunction

    function integer ones(input [9:0] v);
        integer n;
        begin
            ones = 0;
            for (n = 0; n < 10; n = n + 1) ones = ones + v[n];
        end
    endfunction

    // A valid control character: K28.y, K23.7, K27.7, K29.7, K30.7.
    function valid_k(input [7:0] b);
        valid_k = (b[4:0] == 5'd28) ||
                  (b[7:5] == 3'd7 && (b[4:0] == 5'd23 || b[4:0] == 5'd27 || b[4:0] == 5'd29 || b[4:0] == 5'd30));
    endfunction

    // Codes byte b (a control character when k) at running disparity rd
    // (1 positive): {running disparity after it, code}.
    function [10:0] encode(input [7:0] b, input k, input rd);
        reg [5:0] c6;
        reg [3:0] c4;
        reg       rd6;
        reg       k28;
        begin
            k28 = k && b[4:0] == 5'd28;
            c6  = k28 ? 6'b001111 : code6_neg(b[4:0]);
            // Unbalanced codes and D.07 / K.28 have a second form for positive disparity.
            if (rd && (ones({4'd0, c6}) != 3 || b[4:0] == 5'd7 || k28)) c6 = ~c6;
            rd6 = (ones({4'd0, c6}) == 3) ? rd : (ones({4'd0, c6}) > 3);
            if (k) begin
                c4 = code4k_neg(b[7:5]);
                if (rd6) c4 = ~c4;
            end else if (b[7:5] == 3'd7 &&
                         ((!rd6 && (b[4:0] == 5'd17 || b[4:0] == 5'd18 || b[4:0] == 5'd20)) ||
                          (rd6 && (b[4:0] == 5'd11 || b[4:0] == 5'd13 || b[4:0] == 5'd14)))) begin
                c4 = rd6 ? 4'b1000 : 4'b0111;
            end else begin
                c4 = code4_neg(b[7:5]);
                if (rd6 && (ones({6'd0, c4}) != 2 || b[7:5] == 3'd3)) c4 = ~c4;
            end
            encode = {(ones({c6, c4}) == 5) ? rd : (ones({c6, c4}) > 5), c6, c4};
        end
    endfunction

    // Decoding table, by code: the byte, whether a control character, and
    // whether the code is valid at negative / positive running disparity.
    reg [7:0] dec_byte [0:1023];
    reg       dec_k [0:1023];
    reg       dec_neg [0:1023];
    reg       dec_pos [0:1023];
    integer   ti;
    reg [10:0] te;
    initial begin
        for (ti = 0; ti < 1024; ti = ti + 1) begin
            dec_byte[ti] = 8'd0; dec_k[ti] = 1'b0; dec_neg[ti] = 1'b0; dec_pos[ti] = 1'b0;
        end
        for (ti = 0; ti < 512; ti = ti + 1) begin
            if (ti < 256 || valid_k(ti[7:0])) begin
                te = encode(ti[7:0], ti >= 256, 1'b0);
                dec_byte[te[9:0]] = ti[7:0]; dec_k[te[9:0]] = ti >= 256; dec_neg[te[9:0]] = 1'b1;
                te = encode(ti[7:0], ti >= 256, 1'b1);
                dec_byte[te[9:0]] = ti[7:0]; dec_k[te[9:0]] = ti >= 256; dec_pos[te[9:0]] = 1'b1;
            end
        end
    end

    // ---- Checks of the attributes at time 0 ---------------------------
    reg config_ok = 1'b1;
    real pll_rate;
    initial begin
        pll_rate = 2.0 * REFCLK_FREQ * PLL_MULT / PLL_REFDIV / PLL_RATEDIV / 1000.0;
        if (pll_rate < LINE_RATE * 0.999999 || pll_rate > LINE_RATE * 1.000001) begin
            $display("ERROR: %m: LINE_RATE %0f Gbit/s is not 2 x REFCLK_FREQ x PLL_MULT / PLL_REFDIV / PLL_RATEDIV = %0f Gbit/s",
                     LINE_RATE, pll_rate);
            config_ok = 1'b0;
        end
        if (TX_ENCODING != "NONE" && TX_ENCODING != "8B10B" && TX_ENCODING != "64B66B") begin
            $display("ERROR: %m: TX_ENCODING \"%0s\" is not NONE, 8B10B or 64B66B", TX_ENCODING);
            config_ok = 1'b0;
        end
        if (RX_DECODING != "NONE" && RX_DECODING != "8B10B" && RX_DECODING != "64B66B") begin
            $display("ERROR: %m: RX_DECODING \"%0s\" is not NONE, 8B10B or 64B66B", RX_DECODING);
            config_ok = 1'b0;
        end
        if (TX_DATA_WIDTH < 8 || TX_DATA_WIDTH > MAX_WIDTH || TX_DATA_WIDTH % 8 != 0 ||
            (TX_CODE == CODE_64B66B && 64 % TX_DATA_WIDTH != 0)) begin
            $display("ERROR: %m: TX_DATA_WIDTH %0d does not fit TX_ENCODING %0s", TX_DATA_WIDTH, TX_ENCODING);
            config_ok = 1'b0;
        end
        if (RX_DATA_WIDTH < 8 || RX_DATA_WIDTH > MAX_WIDTH || RX_DATA_WIDTH % 8 != 0 ||
            (RX_CODE == CODE_64B66B && 64 % RX_DATA_WIDTH != 0)) begin
            $display("ERROR: %m: RX_DATA_WIDTH %0d does not fit RX_DECODING %0s", RX_DATA_WIDTH, RX_DECODING);
            config_ok = 1'b0;
        end
        if (COMMA_VALUE != "K28.5" && COMMA_VALUE != "K28.1" && COMMA_VALUE != "K28.7") begin
            $display("ERROR: %m: COMMA_VALUE \"%0s\" has no comma pattern this model can align to", COMMA_VALUE);
            config_ok = 1'b0;
        end
        if (LOOPBACK_MODE != "NONE" && LOOPBACK_MODE != "NEAR_END_PCS" && LOOPBACK_MODE != "NEAR_END_PMA" &&
            LOOPBACK_MODE != "FAR_END_PMA") begin
            $display("ERROR: %m: LOOPBACK_MODE \"%0s\" is not NONE, NEAR_END_PCS, NEAR_END_PMA or FAR_END_PMA",
                     LOOPBACK_MODE);
            config_ok = 1'b0;
        end
        if (LANE_BOND_MODE != "NONE")
            $display("NOTE: %m: LANE_BOND_MODE %0s: lanes are not bonded in simulation, each aligns alone",
                     LANE_BOND_MODE);
    end

    // ---- PLL lock and word clocks --------------------------------------
    reg     locked = 1'b0;
    real    t_lock = 0.0;
    real    ref_last = -1.0;
    real    ref_period;
    integer ref_good = 0;
    reg     ref_reported = 1'b0;
    always @(posedge REFCLK) if (!locked && config_ok) begin
        if (ref_last >= 0.0) begin
            ref_period = $realtime - ref_last;
            if (ref_period < 1.0e6 / REFCLK_FREQ * 0.995 || ref_period > 1.0e6 / REFCLK_FREQ * 1.005) begin
                if (!ref_reported)
                    $display("ERROR: %m: REFCLK period %0.1f ps is not that of REFCLK_FREQ %0f MHz; the PLL does not lock",
                             ref_period, REFCLK_FREQ);
                ref_reported = 1'b1;
                ref_good = 0;
            end else begin
                ref_good = ref_good + 1;
            end
        end
        ref_last = $realtime;
        if (ref_good == 4) begin
            t_lock = $realtime;
            locked <= 1'b1;
        end
    end

    // The delay from now to the absolute time t (ps), at least 0.
    function integer delay_to(input real t);
        begin
            delay_to = $rtoi(t + 0.5) - $time;
            if (delay_to < 0) delay_to = 0;
        end
    endfunction

    reg     txrefout_q = 1'b0;
    reg     rxcdrclk_q = 1'b0;
    integer txref_n = 0;
    integer rxcdr_n = 0;
    assign TXREFOUT = txrefout_q;
    assign RXCDRCLK = rxcdrclk_q;
    initial begin : txref_clock
        wait (locked === 1'b1);
        forever begin
            #(delay_to(t_lock + txref_n * TX_WORD_BITS * BIT_PS)) txrefout_q = 1'b1;
            #(delay_to(t_lock + (txref_n + 0.5) * TX_WORD_BITS * BIT_PS)) txrefout_q = 1'b0;
            txref_n = txref_n + 1;
        end
    end
    initial begin : rxcdr_clock
        wait (locked === 1'b1);
        forever begin
            #(delay_to(t_lock + rxcdr_n * RX_WORD_BITS * BIT_PS)) rxcdrclk_q = 1'b1;
            #(delay_to(t_lock + (rxcdr_n + 0.5) * RX_WORD_BITS * BIT_PS)) rxcdrclk_q = 1'b0;
            rxcdr_n = rxcdr_n + 1;
        end
    end

    // ---- Transmit buffer -------------------------------------------------
    reg [MAX_WIDTH-1:0] txb_data [0:TX_DEPTH-1];
    reg [7:0] txb_ctrl [0:TX_DEPTH-1];
    reg [7:0] txb_dmode [0:TX_DEPTH-1];
    reg [7:0] txb_dval [0:TX_DEPTH-1];
    integer   tx_wr = 0;  // words written (the writer's)
    integer   tx_rd = 0;  // words read (the serializer's)
    reg       tx_over = 1'b0;
    reg       tx_under = 1'b0;
    assign TXFIFOERR = tx_over | tx_under;

    always @(posedge TXFABCLK) begin
        tx_over <= 1'b0;
        if (TXRESET !== 1'b1 && locked) begin
            if (tx_wr - tx_rd >= TX_DEPTH) begin
                tx_over <= 1'b1;
            end else begin
                txb_data[tx_wr % TX_DEPTH]  = TXDATA;
                txb_ctrl[tx_wr % TX_DEPTH]  = TXISCTRL;
                txb_dmode[tx_wr % TX_DEPTH] = TXDISPMODE;
                txb_dval[tx_wr % TX_DEPTH]  = TXDISPVAL;
                tx_wr = tx_wr + 1;
            end
        end
    end

    // ---- Serializer --------------------------------------------------------
    reg [1:0] lb_mode;  // 0 none, 1 near-end PCS, 2 near-end PMA, 3 far-end PMA
    always @* begin
        if (LOOPBACK !== 2'b00) lb_mode = LOOPBACK;
        else if (LOOPBACK_MODE == "NEAR_END_PCS") lb_mode = 2'd1;
        else if (LOOPBACK_MODE == "NEAR_END_PMA") lb_mode = 2'd2;
        else if (LOOPBACK_MODE == "FAR_END_PMA") lb_mode = 2'd3;
        else lb_mode = 2'd0;
    end

    reg         tx_bit = 1'b0;      // the serial bit sent, before polarity and muting
    reg         tx_active = 1'b0;   // the serializer runs
    reg [79:0]  unit;               // the unit being sent, first bit in bit 79
    integer     unit_len = 0, unit_pos = 0;
    reg         tx_rd_neg = 1'b1;   // running disparity: 1 negative
    reg [57:0]  tx_scr = {58{1'b1}};
    reg         tx_started = 1'b0;
    real        t_first;
    integer     tx_n = 0;           // bits sent
    integer     ui, uj;
    reg [10:0]  code;
    reg [63:0]  payload;
    reg         ctrl_block;
    reg         sbit;

    // Builds the next unit from the buffer, or an idle unit.
    task next_unit;
        begin
            tx_under = 1'b0;
            if (TXRESET === 1'b1) begin
                tx_rd = tx_wr;
                tx_started = 1'b0;
            end
            if (!tx_started && tx_wr - tx_rd >= TX_UNIT_WORDS) tx_started = 1'b1;
            if (tx_started && tx_wr - tx_rd < TX_UNIT_WORDS) begin
                tx_started = 1'b0;
                tx_under = 1'b1;
            end
            unit = 80'd0;
            if (TX_CODE == CODE_64B66B) begin
                payload = 64'h1E;
                ctrl_block = 1'b1;
                if (tx_started) begin
                    ctrl_block = txb_ctrl[tx_rd % TX_DEPTH][0];
                    for (ui = 0; ui < TX_UNIT_WORDS; ui = ui + 1) begin
                        for (uj = 0; uj < TX_DATA_WIDTH; uj = uj + 1)
                            payload[ui * TX_DATA_WIDTH + uj] = txb_data[tx_rd % TX_DEPTH][uj];
                        tx_rd = tx_rd + 1;
                    end
                end
                unit[79] = ctrl_block;
                unit[78] = !ctrl_block;
                for (uj = 0; uj < 64; uj = uj + 1) begin
                    sbit = payload[uj] ^ tx_scr[38] ^ tx_scr[57];
                    tx_scr = {tx_scr[56:0], sbit};
                    unit[77 - uj] = sbit;
                end
                unit_len = 66;
            end else if (TX_CODE == CODE_8B10B) begin
                for (ui = 0; ui < TX_BYTES; ui = ui + 1) begin
                    if (tx_started) begin
                        if (txb_dmode[tx_rd % TX_DEPTH][ui]) tx_rd_neg = !txb_dval[tx_rd % TX_DEPTH][ui];
                        code = encode(txb_data[tx_rd % TX_DEPTH][8 * ui +: 8], txb_ctrl[tx_rd % TX_DEPTH][ui], !tx_rd_neg);
                    end else begin
                        code = encode((ui == 0) ? 8'hBC : 8'h50, ui == 0, !tx_rd_neg);
                    end
                    tx_rd_neg = !code[10];
                    unit[79 - 10 * ui -: 10] = code[9:0];
                end
                if (tx_started) tx_rd = tx_rd + 1;
                unit_len = 10 * TX_BYTES;
            end else begin
                if (tx_started) begin
                    for (uj = 0; uj < TX_DATA_WIDTH; uj = uj + 1)
                        unit[79 - uj] = txb_data[tx_rd % TX_DEPTH][uj];
                    tx_rd = tx_rd + 1;
                end
                unit_len = TX_DATA_WIDTH;
            end
            unit_pos = 0;
        end
    endtask

    initial begin : serializer
        wait (locked === 1'b1);
        // Units start half a word after the rising edges of TXREFOUT.
        t_first = t_lock + 0.5 * TX_WORD_BITS * BIT_PS;
        forever begin
            #(delay_to(t_first + tx_n * BIT_PS));
            if (unit_pos >= unit_len) next_unit;
            tx_bit = unit[79 - unit_pos];
            tx_active = 1'b1;
            unit_pos = unit_pos + 1;
            tx_n = tx_n + 1;
        end
    end

    wire tx_line = tx_bit ^ (TXPOLARITY === 1'b1);
    wire tx_quiet = !tx_active || TXMUTE === 1'b1 || POWERDOWN === 1'b1;
    assign TXP = (lb_mode == 2'd3) ? RXP : (tx_quiet ? 1'b0 : tx_line);
    assign TXN = (lb_mode == 2'd3) ? RXN : (tx_quiet ? 1'b0 : !tx_line);

    // ---- Receiver ---------------------------------------------------------
    // The serial input: the own serial bits in near-end loopback, else RXP
    // while it differs from RXN. 1'bx means no signal.
    wire rx_near = (lb_mode == 2'd1 || lb_mode == 2'd2);
    wire rx_line = rx_near ? (tx_active ? tx_line : 1'bx)
                           : ((RXP === 1'b0 && RXN !== 1'b0) || (RXP === 1'b1 && RXN !== 1'b1)) ? RXP : 1'bx;

    reg [MAX_WIDTH-1:0] rxb_data [0:RX_DEPTH-1];
    reg [7:0] rxb_ctrl [0:RX_DEPTH-1];
    reg [7:0] rxb_rderr [0:RX_DEPTH-1];
    reg [7:0] rxb_bad [0:RX_DEPTH-1];
    integer   rx_wr = 0;       // words written (the receiver's)
    integer   rx_epoch = 0;    // alignment changes (the receiver's)
    integer   rx_epoch_wr = 0; // rx_wr at the last change

    real      last_edge = 0.0;
    integer   edges = 0;       // edges of a valid signal
    always @(posedge rx_line or negedge rx_line) begin
        if (rx_line === 1'b0 || rx_line === 1'b1) begin
            last_edge = $realtime;
            edges = edges + 1;
        end
    end

    reg         aligned = 1'b0;
    reg         lost = 1'b0;
    integer     bit_count = 0;
    reg [65:0]  rx_win = 66'd0;     // the latest bits, the latest in bit 0
    integer     byte_pos = 0;
    reg         rx_rd_neg = 1'b1;
    integer     bad_run = 0;
    integer     good_headers = 0, bad_headers = 0, headers = 0;
    reg [57:0]  rx_scr = 58'd0;
    reg [MAX_WIDTH-1:0] w_data;
    reg [7:0]   w_ctrl, w_rderr, w_bad;
    reg         w_drop = 1'b0;
    integer     ri, rj;
    reg [9:0]   sym;
    reg [63:0]  rx_payload;
    reg         hdr_ok, hdr_ctrl, rbit;

    // A word into the receive buffer.
    task push_word;
        begin
            if (aligned && !w_drop) begin
                rxb_data[rx_wr % RX_DEPTH]  = w_data;
                rxb_ctrl[rx_wr % RX_DEPTH]  = w_ctrl;
                rxb_rderr[rx_wr % RX_DEPTH] = w_rderr;
                rxb_bad[rx_wr % RX_DEPTH]   = w_bad;
                rx_wr = rx_wr + 1;
            end
            w_drop = 1'b0;
            w_data = 0; w_ctrl = 0; w_rderr = 0; w_bad = 0;
        end
    endtask

    // The alignment changed: the buffer starts again.
    task realign;
        begin
            rx_epoch = rx_epoch + 1;
            rx_epoch_wr = rx_wr;
        end
    endtask

    task rx_reset;
        begin
            aligned = (RX_CODE == CODE_NONE || (RX_CODE == CODE_8B10B && COMMA_DETECT != "TRUE"));
            lost = 1'b0;
            bit_count = 0;
            byte_pos = 0;
            bad_run = 0;
            good_headers = 0; bad_headers = 0; headers = 0;
            w_drop = 1'b0;
            w_data = 0; w_ctrl = 0; w_rderr = 0; w_bad = 0;
            realign;
        end
    endtask

    // One received bit.
    task rx_bit(input b);
        begin
            rx_win = {rx_win[64:0], b};
            bit_count = bit_count + 1;
            if (RX_CODE == CODE_8B10B) begin
                if (COMMA_DETECT == "TRUE" && RXALIGNEN !== 1'b0 &&
                    (rx_win[9:3] == 7'b0011111 || rx_win[9:3] == 7'b1100000)) begin
                    // A comma ends here: it is byte 0 (or the highest byte) of a word.
                    ri = (COMMA_ALIGN_MSB == "TRUE") ? RX_BYTES - 1 : 0;
                    if (!aligned || bit_count != 10 || byte_pos != ri) begin
                        aligned = 1'b1;
                        bad_run = 0;
                        realign;
                        w_drop = (ri != 0);
                        w_data = 0; w_ctrl = 0; w_rderr = 0; w_bad = 0;
                        byte_pos = ri;
                    end
                    bit_count = 10;
                end
                if (bit_count >= 10) begin
                    bit_count = 0;
                    sym = rx_win[9:0];
                    w_data[8 * byte_pos +: 8] = dec_byte[sym];
                    w_ctrl[byte_pos] = dec_k[sym];
                    if (!dec_neg[sym] && !dec_pos[sym]) begin
                        w_bad[byte_pos] = 1'b1;
                    end else if (rx_rd_neg ? !dec_neg[sym] : !dec_pos[sym]) begin
                        w_rderr[byte_pos] = 1'b1;
                    end
                    if (ones(sym) != 5) rx_rd_neg = ones(sym) < 5;
                    if (w_bad[byte_pos] || w_rderr[byte_pos]) bad_run = bad_run + 1;
                    else bad_run = 0;
                    if (bad_run >= 4 && aligned && COMMA_DETECT == "TRUE") begin
                        aligned = 1'b0;
                        lost = 1'b1;
                        realign;
                    end
                    byte_pos = byte_pos + 1;
                    if (byte_pos >= RX_BYTES) begin
                        push_word;
                        byte_pos = 0;
                    end
                end
            end else if (RX_CODE == CODE_64B66B) begin
                if (bit_count >= 66) begin
                    bit_count = 0;
                    hdr_ok = rx_win[65] != rx_win[64];
                    hdr_ctrl = rx_win[65];
                    for (rj = 0; rj < 64; rj = rj + 1) begin
                        rbit = rx_win[63 - rj];
                        rx_payload[rj] = rbit ^ rx_scr[38] ^ rx_scr[57];
                        rx_scr = {rx_scr[56:0], rbit};
                    end
                    if (!aligned) begin
                        if (hdr_ok) good_headers = good_headers + 1;
                        else begin
                            good_headers = 0;
                            bit_count = -1;  // slip: the next block starts one bit later
                        end
                        if (good_headers >= 32) begin
                            aligned = 1'b1;
                            headers = 0; bad_headers = 0;
                            realign;
                        end
                    end else begin
                        headers = headers + 1;
                        if (!hdr_ok) bad_headers = bad_headers + 1;
                        if (bad_headers >= 16) begin
                            aligned = 1'b0;
                            lost = 1'b1;
                            good_headers = 0;
                            realign;
                        end else if (headers >= 64) begin
                            headers = 0; bad_headers = 0;
                        end
                        for (ri = 0; ri < RX_UNIT_WORDS; ri = ri + 1) begin
                            for (rj = 0; rj < RX_DATA_WIDTH; rj = rj + 1)
                                w_data[rj] = rx_payload[ri * RX_DATA_WIDTH + rj];
                            w_ctrl[0] = (ri == 0) && hdr_ok && hdr_ctrl;
                            w_bad[0] = (ri == 0) && !hdr_ok;
                            push_word;
                        end
                    end
                end
            end else begin
                w_data[bit_count - 1] = b;
                if (bit_count >= RX_DATA_WIDTH) begin
                    bit_count = 0;
                    push_word;
                end
            end
        end
    endtask

    real    last_sample = -1.0e12;
    real    t_sample;
    integer edges_seen = 0;
    reg     have_edge = 1'b0;
    initial begin : sampler
        rx_reset;
        forever begin
            if (!have_edge || !locked) begin
                // Waits for the next edge (after its time was taken) and the lock.
                wait (edges != edges_seen && locked === 1'b1);
                edges_seen = edges;
                have_edge = 1'b1;
            end else begin
                // The first mid-bit point after the latest edge that lies more than
                // half a bit after the previous sample.
                t_sample = last_edge + 0.5 * BIT_PS +
                           ($floor((last_sample - last_edge) / BIT_PS) + 1.0) * BIT_PS;
                if (t_sample < last_edge + 0.5 * BIT_PS) t_sample = last_edge + 0.5 * BIT_PS;
                #(delay_to(t_sample));
                last_sample = $realtime;
                if (RXRESET === 1'b1) begin
                    rx_reset;
                end else if (rx_line === 1'b0 || rx_line === 1'b1) begin
                    rx_bit(rx_line ^ (RXPOLARITY === 1'b1));
                end else begin
                    have_edge = 1'b0;
                    edges_seen = edges;
                end
            end
        end
    end

    // ---- Receive buffer, read by the fabric ---------------------------------
    integer   rx_rd = 0;
    integer   rx_seen_epoch = 0;
    reg       rx_started = 1'b0;
    reg [MAX_WIDTH-1:0] rxdata_q = 0;
    reg [7:0] rxctrl_q = 0, rxrderr_q = 0, rxbad_q = 0;
    reg [1:0] rxfifostat_q = 2'b00;
    reg       fifo_reported = 1'b0;
    assign RXDATA     = rxdata_q[39:0];
    assign RXISCTRL   = rxctrl_q[4:0];
    assign RXRDERR    = rxrderr_q[4:0];
    assign RXBADCODE  = rxbad_q[4:0];
    assign RXFIFOSTAT = rxfifostat_q;
    assign RXSYNCLOST = {lost, !aligned};

    always @(posedge RXFABCLK) begin
        rxfifostat_q <= 2'b00;
        if (RXRESET === 1'b1 || rx_seen_epoch != rx_epoch) begin
            rx_seen_epoch = rx_epoch;
            rx_rd = (RXRESET === 1'b1) ? rx_wr : rx_epoch_wr;
            rx_started = 1'b0;
        end
        if (rx_wr - rx_rd > RX_DEPTH) begin
            rxfifostat_q <= 2'b11;
            rx_rd = rx_wr;
            rx_started = 1'b0;
            if (CLK_COMP == "TRUE" && !fifo_reported)
                $display("ERROR: %m: receive buffer full: RXFABCLK is slower than the line, and clock correction is not modelled");
            fifo_reported = 1'b1;
        end
        if (!rx_started && rx_wr - rx_rd >= 1) rx_started = 1'b1;
        if (rx_started) begin
            if (rx_wr - rx_rd >= 1) begin
                rxdata_q  <= rxb_data[rx_rd % RX_DEPTH];
                rxctrl_q  <= rxb_ctrl[rx_rd % RX_DEPTH];
                rxrderr_q <= rxb_rderr[rx_rd % RX_DEPTH];
                rxbad_q   <= rxb_bad[rx_rd % RX_DEPTH];
                rx_rd = rx_rd + 1;
            end else begin
                rxfifostat_q <= 2'b11;
                rx_started = 1'b0;
                if (CLK_COMP == "TRUE" && !fifo_reported)
                    $display("ERROR: %m: receive buffer empty: RXFABCLK is faster than the line, and clock correction is not modelled");
                fifo_reported = 1'b1;
            end
        end
    end
endmodule
