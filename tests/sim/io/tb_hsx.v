// Transceiver lane round trip: random words sent through the serial pins
// (an external wire from TXP/TXN to RXP/RXN, or the lane's own near-end
// loopback) must come back in order after LATENCY word clocks. Both fabric
// clocks are the lane's TXREFOUT; the first word is sent once the receiver
// is aligned. LATENCY -1 only reports the latency.
`timescale 1ps/1ps
module tb_hsx;
    parameter LANE = "HSX3";
    parameter integer W = 16;
    parameter TX_CODE = "8B10B";
    parameter RX_CODE = "8B10B";
    parameter LOOP = "WIRE";              // WIRE or NEAR_END_PMA
    parameter real LINE_RATE = 3.125;
    parameter real REFCLK_FREQ = 156.25;
    parameter integer MULT = 10;
    parameter integer REFDIV = 1;
    parameter integer RATEDIV = 1;
    parameter integer LATENCY = -1;
    // With CTRL 1 some words carry control: 8b/10b control characters that
    // are not commas in any byte, 64b/66b control blocks.
    parameter integer CTRL = 0;
    localparam integer WORDS = 100;
    localparam integer MAXW = (LANE == "HSX10") ? 64 : (LANE == "HSX11") ? 40 : 32;

    reg  refclk = 1'b0, reset = 1'b1, rxreset = 1'b1;
    wire fabclk, txp, txn;
    reg  [63:0] txdata = 64'd0;
    reg  [7:0]  txctrl = 8'd0;
    wire [MAXW - 1:0] rxd;
    wire [MAXW / 8 - 1:0] rxc, rxrderr, rxbad;
    wire [63:0] rxdata = rxd;
    wire [7:0]  rxctrl = rxc;
    wire [1:0]  synclost;
    wire        rxp = (LOOP == "WIRE") ? txp : 1'b0;
    wire        rxn = (LOOP == "WIRE") ? txn : 1'b0;
    always #($rtoi(5.0e5 / REFCLK_FREQ)) refclk = ~refclk;

    generate
        if (LANE == "HSX10") begin : lane
            HSX10 #(.LINE_RATE(LINE_RATE), .REFCLK_FREQ(REFCLK_FREQ), .TX_DATA_WIDTH(W), .RX_DATA_WIDTH(W),
                    .TX_ENCODING(TX_CODE), .RX_DECODING(RX_CODE), .LOOPBACK_MODE(LOOP == "WIRE" ? "NONE" : LOOP),
                    .PLL_MULT(MULT), .PLL_REFDIV(REFDIV), .PLL_RATEDIV(RATEDIV)) dut (
                .RXP(rxp), .RXN(rxn), .TXP(txp), .TXN(txn), .REFCLK(refclk), .RXFABCLK(fabclk),
                .RXFABCLK2(fabclk), .TXFABCLK(fabclk), .TXFABCLK2(fabclk), .RXRESET(rxreset), .TXRESET(reset),
                .TXDATA(txdata[63:0]), .TXISCTRL(txctrl[7:0]), .TXDISPMODE(8'd0), .TXDISPVAL(8'd0),
                .RXDATA(rxd), .RXISCTRL(rxc), .RXRDERR(rxrderr), .RXBADCODE(rxbad), .RXCDRCLK(),
                .TXREFOUT(fabclk), .RXSYNCLOST(synclost), .RXFIFOSTAT(), .TXFIFOERR(), .LOOPBACK(2'b00),
                .POWERDOWN(1'b0), .RXPOLARITY(1'b0), .TXPOLARITY(1'b0), .TXMUTE(1'b0), .TXSWING(3'b100),
                .TXEMPH(4'b0010), .RXEQ(2'b11), .RXALIGNEN(1'b1));
        end else if (LANE == "HSX11") begin : lane
            HSX11 #(.LINE_RATE(LINE_RATE), .REFCLK_FREQ(REFCLK_FREQ), .TX_DATA_WIDTH(W), .RX_DATA_WIDTH(W),
                    .TX_ENCODING(TX_CODE), .RX_DECODING(RX_CODE), .LOOPBACK_MODE(LOOP == "WIRE" ? "NONE" : LOOP),
                    .PLL_MULT(MULT), .PLL_REFDIV(REFDIV), .PLL_RATEDIV(RATEDIV)) dut (
                .RXP(rxp), .RXN(rxn), .TXP(txp), .TXN(txn), .REFCLK(refclk), .RXFABCLK(fabclk),
                .RXFABCLK2(fabclk), .TXFABCLK(fabclk), .TXFABCLK2(fabclk), .RXRESET(rxreset), .TXRESET(reset),
                .TXDATA(txdata[39:0]), .TXISCTRL(txctrl[4:0]), .TXDISPMODE(5'd0), .TXDISPVAL(5'd0),
                .RXDATA(rxd), .RXISCTRL(rxc), .RXRDERR(rxrderr), .RXBADCODE(rxbad), .RXCDRCLK(),
                .TXREFOUT(fabclk), .RXSYNCLOST(synclost), .RXFIFOSTAT(), .TXFIFOERR(), .LOOPBACK(2'b00),
                .POWERDOWN(1'b0), .RXPOLARITY(1'b0), .TXPOLARITY(1'b0), .TXMUTE(1'b0), .TXSWING(3'b100),
                .TXEMPH(4'b0010), .RXEQ(2'b11), .RXALIGNEN(1'b1));
        end else begin : lane
            HSX3 #(.LINE_RATE(LINE_RATE), .REFCLK_FREQ(REFCLK_FREQ), .TX_DATA_WIDTH(W), .RX_DATA_WIDTH(W),
                   .TX_ENCODING(TX_CODE), .RX_DECODING(RX_CODE), .LOOPBACK_MODE(LOOP == "WIRE" ? "NONE" : LOOP),
                   .PLL_MULT(MULT), .PLL_REFDIV(REFDIV), .PLL_RATEDIV(RATEDIV)) dut (
                .RXP(rxp), .RXN(rxn), .TXP(txp), .TXN(txn), .REFCLK(refclk), .RXFABCLK(fabclk),
                .RXFABCLK2(fabclk), .TXFABCLK(fabclk), .TXFABCLK2(fabclk), .RXRESET(rxreset), .TXRESET(reset),
                .TXDATA(txdata[31:0]), .TXISCTRL(txctrl[3:0]), .TXDISPMODE(4'd0), .TXDISPVAL(4'd0),
                .RXDATA(rxd), .RXISCTRL(rxc), .RXRDERR(rxrderr), .RXBADCODE(rxbad), .RXCDRCLK(),
                .TXREFOUT(fabclk), .RXSYNCLOST(synclost), .RXFIFOSTAT(), .TXFIFOERR(), .LOOPBACK(2'b00),
                .POWERDOWN(1'b0), .RXPOLARITY(1'b0), .TXPOLARITY(1'b0), .TXMUTE(1'b0), .TXSWING(3'b100),
                .TXEMPH(4'b0010), .RXEQ(2'b11), .RXALIGNEN(1'b1));
        end
    endgenerate

    localparam [63:0] MASK = {64{1'b1}} >> (64 - W);
    reg [63:0] sent [0:WORDS - 1];
    reg [7:0]  sent_ctrl [0:WORDS - 1];
    // Control characters without a comma: K28.0, K28.2, K28.3, K28.4, K28.6, K23.7, K27.7, K29.7, K30.7.
    reg [7:0]  kchars [0:8];
    initial begin
        kchars[0] = 8'h1C; kchars[1] = 8'h5C; kchars[2] = 8'h7C; kchars[3] = 8'h9C; kchars[4] = 8'hDC;
        kchars[5] = 8'hF7; kchars[6] = 8'hFB; kchars[7] = 8'hFD; kchars[8] = 8'hFE;
    end

    // The next word to send, and its control flags.
    reg [63:0] nxt_data;
    reg [7:0]  nxt_ctrl;
    task next_word;
        integer b;
        begin
            nxt_data = {$random(seed), $random(seed)} & MASK;
            nxt_ctrl = 8'd0;
            if (CTRL != 0 && TX_CODE == "8B10B") begin
                for (b = 0; b < W / 8; b = b + 1)
                    if ($random(seed) % 8 == 0) begin
                        nxt_data[8 * b +: 8] = kchars[($random(seed) & 32'h7FFFFFFF) % 9];
                        nxt_ctrl[b] = 1'b1;
                    end
            end else if (CTRL != 0 && TX_CODE == "64B66B" && nsent % (64 / W) == 0) begin
                nxt_ctrl[0] = $random(seed) % 4 == 0;
            end
        end
    endtask
    integer    cycle = 0, nsent = 0, first_cycle = 0, seed = 11, i, found = -1, errors = 0, latency;

    always @(posedge fabclk) begin
        cycle = cycle + 1;
        if (!reset && nsent < WORDS) begin
            if (nsent == 0) first_cycle = cycle;
            sent[nsent] = txdata;
            sent_ctrl[nsent] = txctrl;
        end
        // Looks for the first word, then checks the ones after it.
        if (!reset && found < 0 && nsent > 0 && (rxdata & MASK) === sent[0] && rxctrl === sent_ctrl[0])
            found = cycle;
        if (found >= 0 && cycle - found < WORDS && cycle - found < nsent) begin
            if ((rxdata & MASK) !== sent[cycle - found] || rxctrl !== sent_ctrl[cycle - found] || rxrderr !== 0 || rxbad !== 0) begin
                if (errors < 4)
                    $display("word %0d: sent %h, got %h (control %b, disparity errors %b, bad codes %b)",
                             cycle - found, sent[cycle - found], rxdata & MASK, rxctrl, rxrderr, rxbad);
                errors = errors + 1;
            end
        end
        if (!reset && nsent < WORDS) begin
            nsent = nsent + 1;
            next_word;
            txdata <= nxt_data;
            txctrl <= nxt_ctrl;
        end
    end

    // The line in reset, 16-bit 8b/10b: idle words K28.5 D16.2 from negative
    // running disparity, 0011111010 1001000101, first bit first.
    reg [19:0] line_bits;
    integer    k;
    initial if (TX_CODE == "8B10B" && W == 16) begin
        @(posedge txn);
        #($rtoi(500.0 / LINE_RATE));
        for (k = 19; k >= 0; k = k - 1) begin
            line_bits[k] = txp;
            #($rtoi(1000.0 / LINE_RATE));
        end
        if (line_bits !== 20'b0011111010_1001000101) begin
            $display("line carries %b, not K28.5 D16.2", line_bits);
            errors = errors + 1;
        end
    end

    // A receiver that does not align within 2 us ends the run.
    initial begin
        #(2100000);
        if (reset) begin
            $display("FAIL: no word came back (%0s to %0s, lane %0s): the receiver did not align",
                     TX_CODE, RX_CODE, LANE);
            $finish;
        end
    end

    initial begin
        next_word;
        txdata = nxt_data;
        txctrl = nxt_ctrl;
        // The receiver aligns to the idle words the lane sends in reset, then
        // the words to check follow.
        #(100000) @(posedge fabclk) rxreset <= 1'b0;
        wait (synclost[0] === 1'b0);
        repeat (8) @(posedge fabclk);
        reset <= 1'b0;
        wait (nsent == WORDS);
        repeat (WORDS + 40) @(posedge fabclk);
        latency = found - first_cycle;
        if (found < 0) begin
            $display("FAIL: no word came back (%0s to %0s, lane %0s)", TX_CODE, RX_CODE, LANE);
        end else if (errors != 0 || (LATENCY >= 0 && latency != LATENCY)) begin
            $display("FAIL: %0s %0s width %0d: %0d words wrong, latency %0d word clocks (expected %0d)",
                     LANE, TX_CODE, W, errors, latency, LATENCY);
        end else begin
            $display("PASS: %0s %0s width %0d, %0s: %0d words back after %0d word clocks",
                     LANE, TX_CODE, W, LOOP, WORDS, latency);
        end
        $finish;
    end
endmodule
