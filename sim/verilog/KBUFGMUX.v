`timescale 1ps/1ps
// Simulation model of KBUFGMUX, the global clock multiplexer.
//
// O follows I0 while the selection is 0 and I1 while it is 1. With
// CLK_SEL_TYPE ASYNC the selection is S itself. With SYNC it is S taken at
// each falling edge of O (it starts at 0): O leaves the old clock there,
// stays low until the newly selected clock is low, and follows it from then
// on, so the switch gives no short pulse.
module KBUFGMUX #(
    parameter CLK_SEL_TYPE = "SYNC"
) (
    input wire I0,
    input wire I1,
    input wire S,
    output wire O
);
    /* verilator lint_off WIDTH */
    localparam SYNC = (CLK_SEL_TYPE == "SYNC");
    localparam TYPE_OK = SYNC || (CLK_SEL_TYPE == "ASYNC");
    /* verilator lint_on WIDTH */

    reg sel_q;
    reg hold;

    initial begin
        if (!TYPE_OK)
            $display("ERROR: KBUFGMUX %m: CLK_SEL_TYPE = \"%0s\" is neither SYNC nor ASYNC", CLK_SEL_TYPE);
        sel_q = 1'b0;
        hold = 1'b0;
    end

    wire chosen = sel_q ? I1 : I0;

    always @(negedge O)
        if (SYNC && O === 1'b0 && (S === 1'b1) != sel_q) begin
            sel_q = (S === 1'b1);
            hold = (sel_q ? I1 : I0) !== 1'b0;
        end

    // The newly selected clock falls: O follows it from here.
    always @(negedge I0)
        if (hold && !sel_q) hold = 1'b0;
    always @(negedge I1)
        if (hold && sel_q) hold = 1'b0;

    assign O = !SYNC ? (S ? I1 : I0) : (hold ? 1'b0 : chosen);
endmodule
