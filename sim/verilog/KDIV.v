`timescale 1ps/1ps
// Simulation model of KDIV, the clock divider behind a clock-manager output.
//
// O is I divided by DIVIDE (1 to 8) with a 50 % duty cycle: the model counts
// both edges of I and turns O over every DIVIDE edges, so an odd divide
// turns O over on a falling edge of I (and assumes that I itself has a 50 %
// duty cycle). The first counted edge is a rising edge of I, on which O
// leaves INIT_OUT; DIVIDE = 1 gives I itself (inverted when INIT_OUT = 1).
// CE pauses the divider with O held; with DIVIDE_TYPE SYNCHRONOUS, CE is
// sampled on the rising edges of I only, so the divider starts and stops on
// whole cycles of I; with ASYNCHRONOUS its level counts at every edge. CLR
// clears the divider at once: O returns to INIT_OUT and counting starts
// again on the first rising edge of I after CLR falls.
module KDIV #(
    parameter integer DIVIDE = 2,
    parameter DIVIDE_TYPE = "SYNCHRONOUS",
    parameter integer INIT_OUT = 0,
    parameter LOC = ""
) (
    input wire I,
    input wire CE,
    input wire CLR,
    output wire O
);
    /* verilator lint_off WIDTH */
    localparam SYNC = (DIVIDE_TYPE == "SYNCHRONOUS");
    localparam TYPE_OK = SYNC || (DIVIDE_TYPE == "ASYNCHRONOUS");
    /* verilator lint_on WIDTH */

    reg o_q;
    reg armed;
    reg ce_q;
    integer count;
    reg en;

    initial begin
        if (DIVIDE < 1 || DIVIDE > 8)
            $display("ERROR: KDIV %m: DIVIDE = %0d is outside 1 to 8", DIVIDE);
        if (!TYPE_OK)
            $display("ERROR: KDIV %m: DIVIDE_TYPE = \"%0s\" is neither SYNCHRONOUS nor ASYNCHRONOUS", DIVIDE_TYPE);
        if (INIT_OUT != 0 && INIT_OUT != 1)
            $display("ERROR: KDIV %m: INIT_OUT = %0d is neither 0 nor 1", INIT_OUT);
        o_q = (INIT_OUT == 1);
        armed = 1'b0;
        ce_q = 1'b0;
        count = 0;
    end

    always @(posedge I or negedge I or posedge CLR) begin
        if (CLR === 1'b1) begin
            o_q <= (INIT_OUT == 1);
            armed = 1'b0;
            ce_q = 1'b0;
            count = 0;
        end else if (I === 1'b1 || I === 1'b0) begin
            if (I === 1'b1) ce_q = (CE === 1'b1);
            en = SYNC ? ce_q : (CE === 1'b1);
            if (en) begin
                if (!armed) begin
                    // Counting starts on a rising edge only.
                    if (I === 1'b1) begin
                        armed = 1'b1;
                        count = 0;
                        o_q <= ~o_q;
                    end
                end else begin
                    count = count + 1;
                    if (count >= DIVIDE) begin
                        count = 0;
                        o_q <= ~o_q;
                    end
                end
            end
        end
    end

    assign O = o_q;
endmodule
