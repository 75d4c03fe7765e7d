// Simulation model of OSER, the output serializer.
//
// A word of DATA_WIDTH bits on D is taken on each rising edge of CLKWORD and
// sent on DOUT from the first rising edge of CLK after that CLKWORD edge, bit
// D[0] first: one bit per CLK cycle (DATA_RATE_OUT SDR, on rising edges) or
// two (DDR, on rising and falling edges). CLK must run at DATA_WIDTH (SDR) or
// DATA_WIDTH / 2 (DDR) times the CLKWORD frequency, edge-aligned with it.
// Latency: D taken at CLKWORD edge n, bit 0 appears on DOUT one CLK period
// later.
//
// Cascade (DATA_WIDTH 10, DDR): the master carries the word's bits 0 to 7 on
// D, the slave bits 8 and 9 on D[1:0]; the slave passes them on CASC_DOUT1
// and CASC_DOUT2 to the master's CASC_DIN1 and CASC_DIN2, and the master
// sends all ten. A slave's DOUT stays at OUT_INIT.
//
// Tristate path: DATA_RATE_TRI BUF passes T[0] to TOUT; SDR and DDR take T
// with the word and send T[i] with data bit i (TRI_WIDTH 4; the last bits of
// a wider word keep T[3]) or T[0] for the whole word (TRI_WIDTH 1), while
// TOUT_EN is high. DOUT_EN low holds DOUT. RST (asynchronous) drives
// OUT_RESET_VAL on DOUT and waits for the next CLKWORD edge.
`timescale 1ps/1ps
module OSER #(
    parameter DATA_RATE_OUT = "DDR",
    parameter DATA_RATE_TRI = "DDR",
    parameter integer DATA_WIDTH = 4,
    parameter integer TRI_WIDTH = 4,
    parameter CASCADE_ROLE = "MASTER",
    parameter integer OUT_INIT = 0,
    parameter integer OUT_RESET_VAL = 0,
    parameter LOC = ""
) (
    input  wire       CLK,
    input  wire       CLKWORD,
    input  wire [7:0] D,
    input  wire [3:0] T,
    input  wire       DOUT_EN,
    input  wire       TOUT_EN,
    input  wire       RST,
    input  wire       CASC_DIN1,
    input  wire       CASC_DIN2,
    output wire       DOUT,
    output wire       TOUT,
    output wire       CASC_DOUT1,
    output wire       CASC_DOUT2
);
    localparam DDR    = (DATA_RATE_OUT == "DDR");
    localparam SLAVE  = (CASCADE_ROLE == "SLAVE");
    localparam TRIBUF = (DATA_RATE_TRI == "BUF");
    localparam TRIDDR = (DATA_RATE_TRI == "DDR");

    reg [7:0] word_q = 8'd0;     // D taken at CLKWORD
    reg [3:0] t_q = 4'd0;        // T taken at CLKWORD
    reg [9:0] shift = 10'd0;     // the word being sent
    reg [3:0] tshift = 4'd0;
    integer   index = DATA_WIDTH;  // next bit of shift to send
    reg       dout_q = OUT_INIT[0];
    reg       tout_q = 1'b0;
    reg       cw_late = 1'b0;    // CLKWORD 1 ps late: a CLKWORD edge at a CLK edge is seen at the next one
    reg       cw_prev = 1'b1;

    assign DOUT       = SLAVE ? OUT_INIT[0] : dout_q;
    assign TOUT       = TRIBUF ? T[0] : tout_q;
    assign CASC_DOUT1 = SLAVE ? word_q[0] : 1'b0;
    assign CASC_DOUT2 = SLAVE ? word_q[1] : 1'b0;

    initial begin
        if (DATA_RATE_OUT != "SDR" && DATA_RATE_OUT != "DDR")
            $display("ERROR: %m: DATA_RATE_OUT \"%0s\" is not SDR or DDR", DATA_RATE_OUT);
        if (!TRIBUF && DATA_RATE_TRI != "SDR" && !TRIDDR)
            $display("ERROR: %m: DATA_RATE_TRI \"%0s\" is not BUF, SDR or DDR", DATA_RATE_TRI);
        if (DDR ? (DATA_WIDTH != 4 && DATA_WIDTH != 6 && DATA_WIDTH != 8 && DATA_WIDTH != 10)
                : (DATA_WIDTH < 2 || DATA_WIDTH > 8))
            $display("ERROR: %m: DATA_WIDTH %0d is not a width of %0s", DATA_WIDTH, DATA_RATE_OUT);
        if (TRI_WIDTH != 1 && TRI_WIDTH != 4)
            $display("ERROR: %m: TRI_WIDTH %0d is not 1 or 4", TRI_WIDTH);
        if (CASCADE_ROLE != "MASTER" && !SLAVE)
            $display("ERROR: %m: CASCADE_ROLE \"%0s\" is not MASTER or SLAVE", CASCADE_ROLE);
        if (OUT_INIT != 0 && OUT_INIT != 1)
            $display("ERROR: %m: OUT_INIT %0d is not 0 or 1", OUT_INIT);
        if (OUT_RESET_VAL != 0 && OUT_RESET_VAL != 1)
            $display("ERROR: %m: OUT_RESET_VAL %0d is not 0 or 1", OUT_RESET_VAL);
    end

    always @(CLKWORD) cw_late <= #1 CLKWORD;

    always @(posedge CLKWORD or posedge RST) begin
        if (RST === 1'b1) begin
            word_q <= 8'd0;
            t_q    <= 4'd0;
        end else begin
            word_q <= D;
            t_q    <= T;
        end
    end

    // Sends the next bit of the word, and its tristate bit.
    task send_bit;
        begin
            if (index < DATA_WIDTH) begin
                if (DOUT_EN === 1'b1) dout_q <= shift[index];
                if (TOUT_EN === 1'b1 && !TRIBUF)
                    tout_q <= (TRI_WIDTH == 1) ? tshift[0] : tshift[(index < 4) ? index : 3];
                index = index + 1;
            end
        end
    endtask

    always @(posedge CLK or negedge CLK or posedge RST) begin
        if (RST === 1'b1) begin
            dout_q <= OUT_RESET_VAL[0];
            index  = DATA_WIDTH;
            cw_prev = 1'b1;
        end else if (CLK === 1'b1) begin
            if (cw_late === 1'b1 && cw_prev !== 1'b1) begin
                shift  = {2'b00, word_q};
                if (DATA_WIDTH > 8) shift[9:8] = {CASC_DIN2, CASC_DIN1};
                tshift = t_q;
                index  = 0;
            end
            cw_prev = cw_late;
            send_bit;
        end else if (CLK === 1'b0 && DDR) begin
            send_bit;
        end
    end
endmodule
