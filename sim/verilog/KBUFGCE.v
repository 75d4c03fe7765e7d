`timescale 1ps/1ps
// Simulation model of KBUFGCE, the global clock buffer with an enable.
//
// O follows I while the enable is on and stays 0 while it is off. With
// CE_TYPE SYNC the enable is CE taken at each falling edge of I, so O only
// starts or stops while I is low and never gives a short pulse; it is off
// until the first falling edge of I. With ASYNC the enable is CE itself
// (O = I and CE).
module KBUFGCE #(
    parameter CE_TYPE = "SYNC"
) (
    input wire I,
    input wire CE,
    output wire O
);
    /* verilator lint_off WIDTH */
    localparam SYNC = (CE_TYPE == "SYNC");
    localparam TYPE_OK = SYNC || (CE_TYPE == "ASYNC");
    /* verilator lint_on WIDTH */

    reg en_q;

    initial begin
        if (!TYPE_OK)
            $display("ERROR: KBUFGCE %m: CE_TYPE = \"%0s\" is neither SYNC nor ASYNC", CE_TYPE);
        en_q = 1'b0;
    end

    always @(negedge I)
        if (I === 1'b0) en_q <= (CE === 1'b1);

    assign O = SYNC ? (I & en_q) : (I & CE);
endmodule
