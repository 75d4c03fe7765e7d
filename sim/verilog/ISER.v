// Simulation model of ISER, the input deserializer.
//
// D is sampled on each rising edge of CLK (DATA_RATE SDR) or on each rising
// and falling edge (DDR; CAPTURE_KIND MEMORY takes the second bit on the
// rising edge of CLKB instead of the falling edge of CLK, once CLKB toggles). The first rising
// edge of CLK after a rising edge of CLKWORD starts a word: at that edge Q
// takes the DATA_WIDTH bits sampled before it, the earliest in Q[0], and the
// bit sampled at that edge is bit 0 of the next word. CLK must run at
// DATA_WIDTH (SDR) or DATA_WIDTH / 2 (DDR) times the CLKWORD frequency,
// edge-aligned with it. Latency: bit 0 of a word sampled at the CLK edge one
// period after CLKWORD edge n is in Q one CLK period after CLKWORD edge n+1,
// stable at edge n+2.
//
// WORD_ALIGN TRUE: each rising edge of CLKWORD with ALIGN high moves the word
// boundary one bit earlier (after DATA_WIDTH moves it is back). CE low holds
// Q; with CE_COUNT 2, CE acts one CLKWORD cycle late. PAD_DELAY sets input
// timing only and changes nothing here. RST (asynchronous) clears Q and the
// boundary moves.
//
// Cascade (DATA_WIDTH 10, DDR): the master samples all ten bits, shows bits
// 0 to 7 on Q and passes bits 8 and 9 on CASC_DOUT1 and CASC_DOUT2 to the
// slave's CASC_DIN1 and CASC_DIN2, which the slave shows on Q[1:0].
`timescale 1ps/1ps
module ISER #(
    parameter CAPTURE_KIND = "NETWORKING",
    parameter DATA_RATE = "DDR",
    parameter integer DATA_WIDTH = 4,
    parameter CASCADE_ROLE = "MASTER",
    parameter WORD_ALIGN = "FALSE",
    parameter integer CE_COUNT = 1,
    parameter PAD_DELAY = "CAPTURE_REG",
    parameter LOC = ""
) (
    input  wire       D,
    input  wire       CLK,
    input  wire       CLKB,
    input  wire       CLKWORD,
    input  wire       CE,
    input  wire       RST,
    input  wire       ALIGN,
    input  wire       CASC_DIN1,
    input  wire       CASC_DIN2,
    output wire [7:0] Q,
    output wire       CASC_DOUT1,
    output wire       CASC_DOUT2
);
    localparam DDR    = (DATA_RATE == "DDR");
    localparam MEMORY = (CAPTURE_KIND == "MEMORY");
    localparam SLAVE  = (CASCADE_ROLE == "SLAVE");

    reg [19:0] samples = 20'd0;   // the latest sample in bit 19
    reg [9:0]  word_q = 10'd0;
    integer    slip = 0;
    integer    i;
    reg        cw_late = 1'b0;    // CLKWORD 1 ps late: a CLKWORD edge at a CLK edge is seen at the next one
    reg        cw_prev = 1'b1;
    reg        ce_late = 1'b0;

    assign Q          = SLAVE ? {6'd0, CASC_DIN2, CASC_DIN1} : word_q[7:0];
    assign CASC_DOUT1 = SLAVE ? 1'b0 : word_q[8];
    assign CASC_DOUT2 = SLAVE ? 1'b0 : word_q[9];

    initial begin
        if (DATA_RATE != "SDR" && !DDR)
            $display("ERROR: %m: DATA_RATE \"%0s\" is not SDR or DDR", DATA_RATE);
        if (CAPTURE_KIND != "NETWORKING" && !MEMORY)
            $display("ERROR: %m: CAPTURE_KIND \"%0s\" is not MEMORY or NETWORKING", CAPTURE_KIND);
        if (DDR ? (DATA_WIDTH != 4 && DATA_WIDTH != 6 && DATA_WIDTH != 8 && DATA_WIDTH != 10)
                : (DATA_WIDTH < 2 || DATA_WIDTH > 8))
            $display("ERROR: %m: DATA_WIDTH %0d is not a width of %0s", DATA_WIDTH, DATA_RATE);
        if (CASCADE_ROLE != "MASTER" && !SLAVE)
            $display("ERROR: %m: CASCADE_ROLE \"%0s\" is not MASTER or SLAVE", CASCADE_ROLE);
        if (WORD_ALIGN != "TRUE" && WORD_ALIGN != "FALSE")
            $display("ERROR: %m: WORD_ALIGN \"%0s\" is not TRUE or FALSE", WORD_ALIGN);
        if (CE_COUNT != 1 && CE_COUNT != 2)
            $display("ERROR: %m: CE_COUNT %0d is not 1 or 2", CE_COUNT);
        if (PAD_DELAY != "NONE" && PAD_DELAY != "IBUF" && PAD_DELAY != "CAPTURE_REG" && PAD_DELAY != "BOTH")
            $display("ERROR: %m: PAD_DELAY \"%0s\" is not NONE, IBUF, CAPTURE_REG or BOTH", PAD_DELAY);
    end

    always @(CLKWORD) cw_late <= #1 CLKWORD;

    always @(posedge CLKWORD or posedge RST) begin
        if (RST === 1'b1) begin
            slip    = 0;
            ce_late <= 1'b0;
        end else begin
            ce_late <= CE;
            if (WORD_ALIGN == "TRUE" && ALIGN === 1'b1) slip = (slip + 1) % DATA_WIDTH;
        end
    end

    // Takes one bit into the samples.
    task sample_bit;
        begin
            samples = {D, samples[19:1]};
        end
    endtask

    reg clk_last = 1'b0;
    reg clkb_last = 1'b0;
    reg clk_rose, clk_fell, clkb_rose;
    reg clkb_seen = 1'b0;  // CLKB toggles (a tied CLKB leaves the second bit to CLK)

    always @(posedge CLK or negedge CLK or posedge CLKB or posedge RST) begin
        clk_rose  = (CLK === 1'b1 && clk_last !== 1'b1);
        clk_fell  = (CLK === 1'b0 && clk_last === 1'b1);
        clkb_rose = (CLKB === 1'b1 && clkb_last !== 1'b1);
        clk_last  = CLK;
        clkb_last = CLKB;
        if (clkb_rose) clkb_seen = 1'b1;
        if (RST === 1'b1) begin
            samples = 20'd0;
            word_q  <= 10'd0;
            cw_prev = 1'b1;
        end else begin
            if (clk_rose) begin
                if (cw_late === 1'b1 && cw_prev !== 1'b1 &&
                    (CE_COUNT == 2 ? ce_late === 1'b1 : CE === 1'b1)) begin
                    // The DATA_WIDTH bits before this edge, moved `slip` bits earlier.
                    for (i = 0; i < 10; i = i + 1)
                        word_q[i] <= (i < DATA_WIDTH) ? samples[20 - DATA_WIDTH - slip + i] : 1'b0;
                end
                cw_prev = cw_late;
                sample_bit;
            end
            if (DDR && ((MEMORY && clkb_seen) ? clkb_rose : clk_fell)) sample_bit;
        end
    end
endmodule
