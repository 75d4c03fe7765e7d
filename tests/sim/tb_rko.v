`timescale 1ps/1ps
// The phase-locked loops against periods, phases and duty cycles worked out
// by hand, lock after 32 input cycles, its loss and the relock.
//   a: RKO_BASE, 10 ns input, x 8 / 1: VCO 1.25 ns. Outputs / 4 at 90 deg,
//      / 10 at -45 deg with 25 % duty, / 3, / 16 at 180 deg, / 128 at 360 deg
//      with 99 % duty, / 1; CLKFBOUT 10 ns. RELOCK_RESET TRUE.
//   b: RKO_ADV on CLKIN1, 8 ns input, x 5 / 2: VCO 3.2 ns; CLKFBOUT at 90
//      deg of its 16 ns moves every output 4 ns earlier. RELOCK_RESET FALSE;
//      then INSEL low switches to the 20 ns CLKIN2.
module tb_rko;
    reg clk_a = 1'b0, clk_b = 1'b0, clk_b2 = 1'b0;
    reg rst = 1'b1, insel = 1'b1;
    wire [6:0] a, b;
    wire lock_a, lock_b;
    integer failures = 0;

    always #5000 clk_a = ~clk_a;
    always #4000 clk_b = ~clk_b;
    always #10000 clk_b2 = ~clk_b2;

    RKO_BASE #(.INCLK_PERIOD(10.0), .FBCLKOUT_MULT(8),
               .CLKOUT0_DIVIDE(4), .CLKOUT0_PHASE(90.0),
               .CLKOUT1_DIVIDE(10), .CLKOUT1_PHASE(-45.0), .CLKOUT1_DUTY(0.25),
               .CLKOUT2_DIVIDE(3),
               .CLKOUT3_DIVIDE(16), .CLKOUT3_PHASE(180.0),
               .CLKOUT4_DIVIDE(128), .CLKOUT4_PHASE(360.0), .CLKOUT4_DUTY(0.99),
               .CLKOUT5_DIVIDE(1), .RELOCK_RESET("TRUE")) dut_a (
        .CLKIN(clk_a), .CLKFBIN(a[6]), .RST(rst), .CLKFBOUT(a[6]),
        .CLKOUT0(a[0]), .CLKOUT1(a[1]), .CLKOUT2(a[2]), .CLKOUT3(a[3]), .CLKOUT4(a[4]), .CLKOUT5(a[5]),
        .LOCKED(lock_a));
    RKO_ADV #(.INCLK1_PERIOD(8.0), .INCLK2_PERIOD(20.0), .REFCLK_DIV(2), .CLKFBOUT_MULT(5),
              .CLKFBOUT_PHASE(90.0), .CLKOUT0_DIVIDE(2), .CLKOUT1_DIVIDE(5), .CLKOUT1_PHASE(45.0)) dut_b (
        .CLKIN1(clk_b), .CLKIN2(clk_b2), .INSEL(insel), .CLKFBIN(b[6]), .RST(rst), .CLKFBOUT(b[6]),
        .CLKOUT0(b[0]), .CLKOUT1(b[1]), .CLKOUT2(b[2]), .CLKOUT3(b[3]), .CLKOUT4(b[4]), .CLKOUT5(b[5]),
        .LOCKED(lock_b), .HOLD(1'b0), .CFG_CLK(1'b0), .CFG_EN(1'b0), .CFG_WE(1'b0), .CFG_ADDR(5'b0),
        .CFG_DIN(16'b0), .CFG_DOUT(), .CFG_RDY());

    wire [13:0] ok;
    clk_probe #("a CLKOUT0", 5000.0, 2500.0, 1250.0) pa0 (a[0], lock_a, ok[0]);
    clk_probe #("a CLKOUT1", 12500.0, 3125.0, 10937.5) pa1 (a[1], lock_a, ok[1]);
    clk_probe #("a CLKOUT2", 3750.0, 1875.0, 0.0) pa2 (a[2], lock_a, ok[2]);
    clk_probe #("a CLKOUT3", 20000.0, 10000.0, 10000.0) pa3 (a[3], lock_a, ok[3]);
    clk_probe #("a CLKOUT4", 160000.0, 158400.0, 0.0) pa4 (a[4], lock_a, ok[4]);
    clk_probe #("a CLKOUT5", 1250.0, 625.0, 0.0) pa5 (a[5], lock_a, ok[5]);
    clk_probe #("a CLKFBOUT", 10000.0, 5000.0, 0.0) pa6 (a[6], lock_a, ok[6]);
    clk_probe #("b CLKOUT0", 6400.0, 3200.0, 2400.0) pb0 (b[0], lock_b, ok[7]);
    clk_probe #("b CLKOUT1", 16000.0, 8000.0, 14000.0) pb1 (b[1], lock_b, ok[8]);
    clk_probe #("b CLKOUT2", 38400.0, 19200.0, 34400.0) pb2 (b[2], lock_b, ok[9]);
    clk_probe #("b CLKOUT3", 12800.0, 6400.0, 8800.0) pb3 (b[3], lock_b, ok[10]);
    clk_probe #("b CLKOUT4", 76800.0, 38400.0, 72800.0) pb4 (b[4], lock_b, ok[11]);
    clk_probe #("b CLKOUT5", 6400.0, 3200.0, 2400.0) pb5 (b[5], lock_b, ok[12]);
    clk_probe #("b CLKFBOUT", 16000.0, 8000.0, 0.0) pb6 (b[6], lock_b, ok[13]);

    // LOCKED first rises on the 32nd rising input edge after reset.
    integer edges_a = 0, edges_b = 0;
    reg first_a = 1'b1;
    always @(posedge clk_a) if (!rst) edges_a = edges_a + 1;
    always @(posedge clk_b) if (!rst) edges_b = edges_b + 1;
    always @(posedge lock_a) begin
        if (first_a && edges_a != 32) begin
            $display("FAIL: a LOCKED rose on input edge %0d, expected 32", edges_a);
            failures = failures + 1;
        end
        first_a = 1'b0;
    end
    always @(posedge lock_b)
        if (insel && edges_b != 32) begin
            $display("FAIL: b LOCKED rose on input edge %0d, expected 32", edges_b);
            failures = failures + 1;
        end

    realtime r1, r2;
    initial begin
        #15000 rst = 1'b0;
        #800000;
        if (ok !== {14{1'b1}}) begin
            $display("FAIL: clock checks passed: %b", ok);
            failures = failures + 1;
        end
        // The inputs stop for 20 ns: LOCKED and the outputs fall within 1.5
        // input periods. Then a takes its lock again 32 edges later
        // (RELOCK_RESET TRUE); b, on the same fault, waits for RST.
        @(posedge clk_a) force clk_a = 1'b0;
        force clk_b = 1'b0;
        #17000;
        if (lock_a !== 1'b0 || lock_b !== 1'b0 || a !== 7'b0 || b !== 7'b0) begin
            $display("FAIL: a stopped input kept LOCKED (a %b, b %b) or the outputs", lock_a, lock_b);
            failures = failures + 1;
        end
        #3000;
        release clk_a;
        release clk_b;
        #30000;
        if (lock_a !== 1'b0 || lock_b !== 1'b0 || a !== 7'b0 || b !== 7'b0) begin
            $display("FAIL: a wrong input period kept LOCKED (a %b, b %b) or the outputs", lock_a, lock_b);
            failures = failures + 1;
        end
        #400000;
        if (lock_a !== 1'b1 || lock_b !== 1'b0) begin
            $display("FAIL: after the fault LOCKED is %b (a, relock) and %b (b, no relock)", lock_a, lock_b);
            failures = failures + 1;
        end
        // RST drops everything at once.
        @(posedge a[5]) #1 rst = 1'b1;
        #1;
        if (lock_a !== 1'b0 || a !== 7'b0) begin
            $display("FAIL: reset left LOCKED %b or outputs %b high", lock_a, a);
            failures = failures + 1;
        end
        // b on CLKIN2 (20 ns, / 1 x 5 / 2): CLKFBOUT of 40 ns after relock.
        insel = 1'b0;
        #20000 rst = 1'b0;
        #800000;
        @(posedge b[6]) r1 = $realtime;
        @(posedge b[6]) r2 = $realtime;
        if (lock_b !== 1'b1 || r2 - r1 != 40000.0) begin
            $display("FAIL: b on CLKIN2: LOCKED %b, CLKFBOUT period %0.1f ps, expected 40000", lock_b, r2 - r1);
            failures = failures + 1;
        end
        if (failures == 0) $display("PASS"); else $display("FAIL");
        $finish;
    end
endmodule
