// Wrapper of design 'core'.
module core (
    input wire [17:0] A,
    input wire [17:0] B,
    output wire [35:0] P,
    input wire CLK,
    input wire CE,
    input wire RST
);

    wire [47:0] DSP_P_unused;
    wire [47:0] DSP_CASC_OUT_unused;
    wire [17:0] DSP_BCASC_OUT_unused;

    DSP #(
        .OPERATION_MODE("MULTIPLY"),
        .A_WIDTH(18),
        .B_WIDTH(18),
        .P_WIDTH(36),
        .A_SIGNED("TRUE"),
        .B_SIGNED("TRUE"),
        .ADD_SUB_MODE("ADD"),
        .A_PIPE(1),
        .B_PIPE(1),
        .C_PIPE(1),
        .M_PIPE(1),
        .P_PIPE(1),
        .OPSEL_PIPE(0),
        .CIN_PIPE(0),
        .B_SOURCE("DIRECT"),
        .RESET_TYPE("SYNC")
    ) DSP (
        .A(A),
        .B(B),
        .C(48'b0),
        .P({DSP_P_unused[47:36], P}),
        .CLK(CLK),
        .CE(CE),
        .RST(RST),
        .SEL(1'b0),
        .ADDSUB(1'b0),
        .LOAD(1'b0),
        .CIN(1'b0),
        .OPSEL(7'b0000101),
        .CASC_IN(48'b0),
        .CASC_OUT(DSP_CASC_OUT_unused),
        .BCASC_OUT(DSP_BCASC_OUT_unused)
    );

endmodule
