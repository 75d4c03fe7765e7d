// Wrapper of design 'core'.
module core (
    input wire [11:0] sample,
    input wire [9:0] coeff,
    output wire [21:0] product,
    input wire CLK,
    input wire RST
);

    wire [47:0] DSP_P_unused;
    wire [47:0] DSP_CASC_OUT_unused;
    wire [17:0] DSP_BCASC_OUT_unused;

    DSP #(
        .OPERATION_MODE("MULTIPLY"),
        .A_WIDTH(12),
        .B_WIDTH(10),
        .P_WIDTH(22),
        .A_SIGNED("TRUE"),
        .B_SIGNED("FALSE"),
        .ADD_SUB_MODE("ADD"),
        .A_PIPE(2),
        .B_PIPE(2),
        .C_PIPE(1),
        .M_PIPE(1),
        .P_PIPE(1),
        .OPSEL_PIPE(0),
        .CIN_PIPE(0),
        .B_SOURCE("DIRECT"),
        .RESET_TYPE("SYNC")
    ) DSP (
        .A({6'b0, sample}),
        .B({8'b0, coeff}),
        .C(48'b0),
        .P({DSP_P_unused[47:22], product}),
        .CLK(CLK),
        .CE(1'b1),
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
