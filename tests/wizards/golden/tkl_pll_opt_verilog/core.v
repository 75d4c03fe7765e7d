// Wrapper of design 'core'.
module core (
    input wire sys_clk_in,
    input wire sys_rst,
    output wire pll_locked,
    output wire clk_200,
    output wire clk_100_90,
    output wire clk_25,
    input wire clk_25_ce
);

    wire CLKFBOUT_OUT;
    wire CLKOUT0_PLL;
    wire CLKOUT1_PLL;
    wire CLKOUT2_PLL;
    wire RKO_ADV_CLKOUT3_unused;
    wire RKO_ADV_CLKOUT4_unused;
    wire RKO_ADV_CLKOUT5_unused;
    wire [15:0] RKO_ADV_CFG_DOUT_unused;
    wire RKO_ADV_CFG_RDY_unused;

    RKO_ADV #(
        .INCLK1_PERIOD(20.000),
        .LOOP_BW("OPTIMIZED"),
        .DESKEW_PATH("SYSTEM_SYNCHRONOUS"),
        .REFCLK_DIV(1),
        .CLKFBOUT_MULT(20),
        .CLKFBOUT_PHASE(0.000),
        .CLKOUT0_DIVIDE(5),
        .CLKOUT0_PHASE(0.000),
        .CLKOUT0_DUTY(0.50),
        .CLKOUT1_DIVIDE(10),
        .CLKOUT1_PHASE(90.000),
        .CLKOUT1_DUTY(0.50),
        .CLKOUT2_DIVIDE(40),
        .CLKOUT2_PHASE(0.000),
        .CLKOUT2_DUTY(0.50),
        .CLKOUT3_DIVIDE(4),
        .CLKOUT3_PHASE(0.000),
        .CLKOUT3_DUTY(0.50),
        .CLKOUT4_DIVIDE(24),
        .CLKOUT4_PHASE(0.000),
        .CLKOUT4_DUTY(0.50),
        .CLKOUT5_DIVIDE(2),
        .CLKOUT5_PHASE(0.000),
        .CLKOUT5_DUTY(0.50),
        .RELOCK_RESET("FALSE")
    ) RKO_ADV (
        .CLKIN1(sys_clk_in),
        .CLKIN2(1'b0),
        .INSEL(1'b1),
        .CLKFBIN(CLKFBOUT_OUT),
        .RST(sys_rst),
        .CLKFBOUT(CLKFBOUT_OUT),
        .CLKOUT0(CLKOUT0_PLL),
        .CLKOUT1(CLKOUT1_PLL),
        .CLKOUT2(CLKOUT2_PLL),
        .CLKOUT3(RKO_ADV_CLKOUT3_unused),
        .CLKOUT4(RKO_ADV_CLKOUT4_unused),
        .CLKOUT5(RKO_ADV_CLKOUT5_unused),
        .LOCKED(pll_locked),
        .HOLD(1'b0),
        .CFG_CLK(1'b0),
        .CFG_EN(1'b0),
        .CFG_WE(1'b0),
        .CFG_ADDR(5'b0),
        .CFG_DIN(16'b0),
        .CFG_DOUT(RKO_ADV_CFG_DOUT_unused),
        .CFG_RDY(RKO_ADV_CFG_RDY_unused)
    );

    KBUFG KBUFG_CLKOUT0 (
        .I(CLKOUT0_PLL),
        .O(clk_200)
    );

    KBUFG KBUFG_CLKOUT1 (
        .I(CLKOUT1_PLL),
        .O(clk_100_90)
    );

    KBUFGCE #(
        .CE_TYPE("SYNC")
    ) KBUFGCE_CLKOUT2 (
        .I(CLKOUT2_PLL),
        .CE(clk_25_ce),
        .O(clk_25)
    );

endmodule
