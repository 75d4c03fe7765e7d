`timescale 1ps/1ps
// Simulation model of DSP, the pipelined 18x18 multiplier block.
//
// Function: P is the product of A and B, on the low A_WIDTH bits of A and
// the low B_WIDTH bits of B, each taken as signed (two's complement) or
// unsigned after A_SIGNED and B_SIGNED, extended to the 48 bits of P (bits
// above P_WIDTH repeat the product's sign or are zero). CASC_OUT carries P,
// BCASC_OUT the B operand after its registers.
// Pipeline: A passes A_PIPE registers (0 to 2), B passes B_PIPE registers,
// the product M_PIPE and P_PIPE registers, all clocked by the rising edge of
// CLK and enabled by CE; the paths are delayed independently: the latency
// is A_PIPE + M_PIPE + P_PIPE cycles from A, B_PIPE + M_PIPE + P_PIPE from
// B. RST clears every register: with RESET_TYPE SYNC on
// the rising edge of CLK (CE need not be high), with ASYNC at once.
// Only OPERATION_MODE MULTIPLY is modelled, the mode the multiplier wizard
// sets: any other mode is reported as an error at time 0, and so is
// B_SOURCE CASCADE (the block has no cascade input for B). C, SEL, ADDSUB,
// LOAD, CIN, OPSEL and CASC_IN, and the attributes C_WIDTH, ADD_SUB_MODE,
// C_PIPE, OPSEL_PIPE and CIN_PIPE serve the other modes: their values are
// checked, they have no effect.
module DSP #(
    parameter OPERATION_MODE = "MULTIPLY",
    parameter integer A_WIDTH = 18,
    parameter integer B_WIDTH = 18,
    parameter integer C_WIDTH = 48,
    parameter integer P_WIDTH = 36,
    parameter A_SIGNED = "TRUE",
    parameter B_SIGNED = "TRUE",
    parameter ADD_SUB_MODE = "ADD",
    parameter integer A_PIPE = 1,
    parameter integer B_PIPE = 1,
    parameter integer C_PIPE = 1,
    parameter integer M_PIPE = 1,
    parameter integer P_PIPE = 1,
    parameter integer OPSEL_PIPE = 0,
    parameter integer CIN_PIPE = 0,
    parameter B_SOURCE = "DIRECT",
    parameter RESET_TYPE = "SYNC",
    parameter LOC = ""
) (
    input wire [17:0] A,
    input wire [17:0] B,
    input wire [47:0] C,
    output wire [47:0] P,
    input wire CLK,
    input wire CE,
    input wire RST,
    input wire SEL,
    input wire ADDSUB,
    input wire LOAD,
    input wire CIN,
    input wire [6:0] OPSEL,
    input wire [47:0] CASC_IN,
    output wire [47:0] CASC_OUT,
    output wire [17:0] BCASC_OUT
);
    /* verilator lint_off WIDTH */
    localparam A_SGN = (A_SIGNED == "TRUE");
    localparam B_SGN = (B_SIGNED == "TRUE");
    localparam ASYNC = (RESET_TYPE == "ASYNC");
    localparam MODE_OK = (OPERATION_MODE == "MULTIPLY");
    localparam MODE_KNOWN = MODE_OK || (OPERATION_MODE == "MULTIPLY_ACCUMULATE") ||
                            (OPERATION_MODE == "ADD_SUBTRACT") || (OPERATION_MODE == "ACCUMULATE") ||
                            (OPERATION_MODE == "MULTIPLEXER") || (OPERATION_MODE == "COUNTER");
    localparam SIGNED_OK = (A_SIGNED == "TRUE" || A_SIGNED == "FALSE") && (B_SIGNED == "TRUE" || B_SIGNED == "FALSE");
    localparam ADD_SUB_OK = (ADD_SUB_MODE == "ADD") || (ADD_SUB_MODE == "SUBTRACT") || (ADD_SUB_MODE == "DYNAMIC");
    localparam RESET_OK = ASYNC || (RESET_TYPE == "SYNC");
    /* verilator lint_on WIDTH */

    initial begin
        /* verilator lint_off WIDTH */
        if (!MODE_KNOWN)
            $display("ERROR: DSP %m: OPERATION_MODE = \"%0s\" is none of MULTIPLY, MULTIPLY_ACCUMULATE, ADD_SUBTRACT, ACCUMULATE, MULTIPLEXER, COUNTER",
                     OPERATION_MODE);
        else if (!MODE_OK)
            $display("ERROR: DSP %m: OPERATION_MODE = \"%0s\" is not modelled (only MULTIPLY is)", OPERATION_MODE);
        if (B_SOURCE == "CASCADE")
            $display("ERROR: DSP %m: B_SOURCE = \"CASCADE\" is not modelled (no cascade input for B)");
        else if (B_SOURCE != "DIRECT")
            $display("ERROR: DSP %m: B_SOURCE = \"%0s\" is neither DIRECT nor CASCADE", B_SOURCE);
        if (!SIGNED_OK)
            $display("ERROR: DSP %m: A_SIGNED = \"%0s\" and B_SIGNED = \"%0s\" must each be TRUE or FALSE", A_SIGNED,
                     B_SIGNED);
        if (!ADD_SUB_OK)
            $display("ERROR: DSP %m: ADD_SUB_MODE = \"%0s\" is none of ADD, SUBTRACT, DYNAMIC", ADD_SUB_MODE);
        if (!RESET_OK)
            $display("ERROR: DSP %m: RESET_TYPE = \"%0s\" is neither SYNC nor ASYNC", RESET_TYPE);
        /* verilator lint_on WIDTH */
        if (A_WIDTH < 2 || A_WIDTH > 18) $display("ERROR: DSP %m: A_WIDTH = %0d is outside 2 to 18", A_WIDTH);
        if (B_WIDTH < 2 || B_WIDTH > 18) $display("ERROR: DSP %m: B_WIDTH = %0d is outside 2 to 18", B_WIDTH);
        if (C_WIDTH < 2 || C_WIDTH > 48) $display("ERROR: DSP %m: C_WIDTH = %0d is outside 2 to 48", C_WIDTH);
        if (P_WIDTH < 2 || P_WIDTH > 48) $display("ERROR: DSP %m: P_WIDTH = %0d is outside 2 to 48", P_WIDTH);
        if (A_PIPE < 0 || A_PIPE > 2) $display("ERROR: DSP %m: A_PIPE = %0d is none of 0, 1, 2", A_PIPE);
        if (B_PIPE < 0 || B_PIPE > 2) $display("ERROR: DSP %m: B_PIPE = %0d is none of 0, 1, 2", B_PIPE);
        if (C_PIPE < 0 || C_PIPE > 1) $display("ERROR: DSP %m: C_PIPE = %0d is neither 0 nor 1", C_PIPE);
        if (M_PIPE < 0 || M_PIPE > 1) $display("ERROR: DSP %m: M_PIPE = %0d is neither 0 nor 1", M_PIPE);
        if (P_PIPE < 0 || P_PIPE > 1) $display("ERROR: DSP %m: P_PIPE = %0d is neither 0 nor 1", P_PIPE);
        if (OPSEL_PIPE < 0 || OPSEL_PIPE > 1)
            $display("ERROR: DSP %m: OPSEL_PIPE = %0d is neither 0 nor 1", OPSEL_PIPE);
        if (CIN_PIPE < 0 || CIN_PIPE > 1) $display("ERROR: DSP %m: CIN_PIPE = %0d is neither 0 nor 1", CIN_PIPE);
    end

    // An operand's used bits, extended to 48 bits after its signedness.
    function [47:0] extend(input [17:0] v, input integer width, input sgn);
        integer i;
        begin
            for (i = 0; i < 48; i = i + 1)
                extend[i] = (i < width) ? v[i] : (sgn & v[width - 1]);
        end
    endfunction

    reg [17:0] a1 = 18'b0, a2 = 18'b0, b1 = 18'b0, b2 = 18'b0;
    reg [47:0] m_q = 48'b0, p_q = 48'b0;
    wire [17:0] a_op = (A_PIPE == 0) ? A : (A_PIPE == 1) ? a1 : a2;
    wire [17:0] b_op = (B_PIPE == 0) ? B : (B_PIPE == 1) ? b1 : b2;
    wire [47:0] product = extend(a_op, A_WIDTH, A_SGN) * extend(b_op, B_WIDTH, B_SGN);
    wire [47:0] m_out = (M_PIPE == 1) ? m_q : product;
    wire [47:0] p_out = (P_PIPE == 1) ? p_q : m_out;

    // The registers: cleared by RST (synchronously or at once), loaded on the
    // rising edge of CLK while CE is high.
    task clear;
        begin
            a1 <= 18'b0;
            a2 <= 18'b0;
            b1 <= 18'b0;
            b2 <= 18'b0;
            m_q <= 48'b0;
            p_q <= 48'b0;
        end
    endtask

    task load;
        begin
            a1 <= A;
            a2 <= a1;
            b1 <= B;
            b2 <= b1;
            m_q <= product;
            p_q <= m_out;
        end
    endtask

    generate
        if (ASYNC) begin : async_reset
            always @(posedge CLK or posedge RST)
                if (RST === 1'b1) clear;
                else if (CE === 1'b1) load;
        end else begin : sync_reset
            always @(posedge CLK)
                if (RST === 1'b1) clear;
                else if (CE === 1'b1) load;
        end
    endgenerate

    assign P = p_out;
    assign CASC_OUT = p_out;
    assign BCASC_OUT = b_op;
endmodule
