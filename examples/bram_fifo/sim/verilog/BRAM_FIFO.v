`timescale 1ps/1ps
// Simulation model of BRAM_FIFO, one block RAM used as a FIFO of DEPTH words
// of DATA_WIDTH bits (the low bits of DI and DO; the bits above read 0).
//
// A word is written on a rising edge of WRCLK with WREN high and FULL low.
// The read side runs on WRCLK when FIFO_MODE is SYNC and on RDCLK when ASYNC.
// The flags follow the words held at once: FULL with DEPTH words,
// ALMOSTFULL with DEPTH - ALMOST_FULL_OFFSET or more, ALMOSTEMPTY with
// ALMOST_EMPTY_OFFSET or fewer.
//   - FIRST_WORD_FALL_THROUGH FALSE: EMPTY with no word; a rising edge of
//     the read clock with RDEN high and EMPTY low takes the next word to the
//     read latch, which DO shows after that edge (DO_REG 0) or after the next
//     edge, through the output register (DO_REG 1), which loads every edge.
//   - FIRST_WORD_FALL_THROUGH TRUE: the next word is on DO while EMPTY is
//     low, and a rising edge with RDEN high takes it. A word written into an
//     empty FIFO reaches DO on the first rising edge of the read clock after
//     the write (DO_REG 0), or on the second (DO_REG 1: the read latch and
//     the output register fill one after the other).
// RST high clears the FIFO at once and holds it empty.
module BRAM_FIFO #(
    parameter FIFO_MODE = "SYNC",
    parameter integer DATA_WIDTH = 36,
    parameter integer DEPTH = 1024,
    parameter FIRST_WORD_FALL_THROUGH = "FALSE",
    parameter integer ALMOST_FULL_OFFSET = 16,
    parameter integer ALMOST_EMPTY_OFFSET = 16,
    parameter integer DO_REG = 0
) (
    input wire [35:0] DI,
    output wire [35:0] DO,
    input wire WRCLK,
    input wire RDCLK,
    input wire WREN,
    input wire RDEN,
    input wire RST,
    output wire FULL,
    output wire EMPTY,
    output wire ALMOSTFULL,
    output wire ALMOSTEMPTY
);
    /* verilator lint_off WIDTH */
    localparam ASYNC = (FIFO_MODE == "ASYNC");
    localparam FWFT = (FIRST_WORD_FALL_THROUGH == "TRUE");
    /* verilator lint_on WIDTH */
    localparam OUTREG = (DO_REG == 1);

    wire read_clock = ASYNC ? RDCLK : WRCLK;
    reg [DATA_WIDTH-1:0] mem [0:DEPTH-1];
    integer written = 0;  // words written since the reset
    integer fetched = 0;  // words taken from the memory by the read side
    integer taken = 0;    // words taken by the reader (RDEN)
    reg [DATA_WIDTH-1:0] latch = 0, outreg = 0;
    reg latch_full = 0, outreg_full = 0;  // first word fall through: the stages hold a word

    wire [31:0] held = written - taken;
    assign FULL = held >= DEPTH;
    assign ALMOSTFULL = held >= DEPTH - ALMOST_FULL_OFFSET;
    assign ALMOSTEMPTY = held <= ALMOST_EMPTY_OFFSET;
    assign EMPTY = FWFT ? !(OUTREG ? outreg_full : latch_full) : held == 0;
    wire [DATA_WIDTH-1:0] data = OUTREG ? outreg : latch;
    assign DO = {{(36 - DATA_WIDTH){1'b0}}, data};

    always @(posedge WRCLK or posedge RST)
        if (RST) written <= 0;
        else if (WREN && !FULL) begin
            mem[written % DEPTH] <= DI[DATA_WIDTH-1:0];
            written <= written + 1;
        end

    always @(posedge read_clock or posedge RST)
        if (RST) begin
            fetched <= 0;
            taken <= 0;
            latch_full <= 0;
            outreg_full <= 0;
        end else if (!FWFT) begin
            if (RDEN && !EMPTY) begin
                latch <= mem[fetched % DEPTH];
                fetched <= fetched + 1;
                taken <= taken + 1;
            end
            if (OUTREG) outreg <= latch;
        end else begin : fall_through
            reg take, move, fetch;
            take = RDEN && !EMPTY;
            // The output register takes the latch's word when it is free or taken.
            move = OUTREG && latch_full && (!outreg_full || take);
            fetch = written > fetched && (!latch_full || (OUTREG ? move : take));
            if (take) taken <= taken + 1;
            if (move) outreg <= latch;
            if (OUTREG) outreg_full <= move || (outreg_full && !take);
            if (fetch) begin
                latch <= mem[fetched % DEPTH];
                fetched <= fetched + 1;
            end
            latch_full <= fetch || (latch_full && !(OUTREG ? move : take));
        end
endmodule
