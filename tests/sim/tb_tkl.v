`timescale 1ps/1ps
// The clock managers against periods, phases and duty cycles worked out by
// hand, lock after 16 input cycles and its loss on reset.
//   a: TKL, 10 ns input, fixed shift of 64/256 (2.5 ns), CLKSLOW / 2.5,
//      CLKSYN x 5 / 2 (4 ns). The outputs start one input period after the
//      locking edge, plus the shift, so a rising edge lies at 12.5 ns after
//      LOCKED rises (taken modulo each period).
//   b: TKL_SP, 8 ns input halved inside (16 ns), fixed shift of -32/256
//      (-2 ns), CLKSLOW / 16, CLKSYN x 3 / 4: edges at 16 - 2 = 14 ns.
//   c: TKL_ADV, 10 ns input with a 30 % duty cycle passed through
//      (DUTY_FIX FALSE), TRACK_CENTER from 0, then four steps later
//      (4 x 10/256 ns = 156.25 ps).
module tb_tkl;
    reg clk_a = 1'b0, clk_b = 1'b0, clk_c = 1'b0;
    reg rst = 1'b1;
    reg shclk = 1'b0, shen = 1'b0, shupdn = 1'b1;
    wire [8:0] a, b, c;
    wire lock_a, lock_b, lock_c, shdone;
    wire [7:0] status_a;
    integer failures = 0;

    always #5000 clk_a = ~clk_a;
    always #4000 clk_b = ~clk_b;
    always begin
        #3000 clk_c = 1'b0;
        #7000 clk_c = 1'b1;
    end
    always #1000 shclk = ~shclk;

    TKL #(.INCLK_PERIOD(10.0), .CLKSLOW_DIVIDE(2.5), .CLKSYN_MULT(5), .CLKSYN_DIVIDE(2),
          .PHASE_MODE("FIXED"), .PHASE_OFFSET(64)) dut_a (
        .CLKIN(clk_a), .CLKFB(a[0]), .RST(rst), .SHCLK(1'b0), .SHEN(1'b0), .SHUPDN(1'b0),
        .CLK0(a[0]), .CLK90(a[1]), .CLK180(a[2]), .CLK270(a[3]), .CLKDBL(a[4]), .CLKDBL180(a[5]),
        .CLKSLOW(a[6]), .CLKSYN(a[7]), .CLKSYN180(a[8]), .LOCKED(lock_a), .STATUS(status_a), .SHDONE());
    TKL_SP #(.INCLK_PERIOD(8.0), .CLKIN_HALVE("TRUE"), .CLKSLOW_DIVIDE(16.0), .CLKSYN_MULT(3), .CLKSYN_DIVIDE(4),
             .PHASE_MODE("FIXED"), .PHASE_OFFSET(-32), .FEEDBACK_KIND("NONE")) dut_b (
        .CLKIN(clk_b), .CLKFB(1'b0), .RST(rst),
        .CLK0(b[0]), .CLK90(b[1]), .CLK180(b[2]), .CLK270(b[3]), .CLKDBL(b[4]), .CLKDBL180(b[5]),
        .CLKSLOW(b[6]), .CLKSYN(b[7]), .CLKSYN180(b[8]), .LOCKED(lock_b), .STATUS());
    TKL_ADV #(.INCLK_PERIOD(10.0), .DUTY_FIX("FALSE"), .PHASE_MODE("TRACK_CENTER")) dut_c (
        .CLKIN(clk_c), .CLKFB(c[0]), .RST(rst), .SHCLK(shclk), .SHEN(shen), .SHUPDN(shupdn),
        .CLK0(c[0]), .CLK90(c[1]), .CLK180(c[2]), .CLK270(c[3]), .CLKDBL(c[4]), .CLKDBL180(c[5]),
        .CLKSLOW(c[6]), .CLKSYN(c[7]), .CLKSYN180(c[8]), .LOCKED(lock_c), .STATUS(), .SHDONE(shdone),
        .CFG_CLK(1'b0), .CFG_EN(1'b0), .CFG_WE(1'b0), .CFG_ADDR(7'b0), .CFG_DIN(16'b0), .CFG_DOUT(), .CFG_RDY());

    wire [26:0] ok;
    clk_probe #("a CLK0", 10000.0, 5000.0, 2500.0) pa0 (a[0], lock_a, ok[0]);
    clk_probe #("a CLK90", 10000.0, 5000.0, 5000.0) pa1 (a[1], lock_a, ok[1]);
    clk_probe #("a CLK180", 10000.0, 5000.0, 7500.0) pa2 (a[2], lock_a, ok[2]);
    clk_probe #("a CLK270", 10000.0, 5000.0, 0.0) pa3 (a[3], lock_a, ok[3]);
    clk_probe #("a CLKDBL", 5000.0, 2500.0, 2500.0) pa4 (a[4], lock_a, ok[4]);
    clk_probe #("a CLKDBL180", 5000.0, 2500.0, 0.0) pa5 (a[5], lock_a, ok[5]);
    clk_probe #("a CLKSLOW", 25000.0, 12500.0, 12500.0) pa6 (a[6], lock_a, ok[6]);
    clk_probe #("a CLKSYN", 4000.0, 2000.0, 500.0) pa7 (a[7], lock_a, ok[7]);
    clk_probe #("a CLKSYN180", 4000.0, 2000.0, 2500.0) pa8 (a[8], lock_a, ok[8]);
    clk_probe #("b CLK0", 16000.0, 8000.0, 14000.0) pb0 (b[0], lock_b, ok[9]);
    clk_probe #("b CLK90", 16000.0, 8000.0, 2000.0) pb1 (b[1], lock_b, ok[10]);
    clk_probe #("b CLK180", 16000.0, 8000.0, 6000.0) pb2 (b[2], lock_b, ok[11]);
    clk_probe #("b CLK270", 16000.0, 8000.0, 10000.0) pb3 (b[3], lock_b, ok[12]);
    clk_probe #("b CLKDBL", 8000.0, 4000.0, 6000.0) pb4 (b[4], lock_b, ok[13]);
    clk_probe #("b CLKDBL180", 8000.0, 4000.0, 2000.0) pb5 (b[5], lock_b, ok[14]);
    clk_probe #("b CLKSLOW", 256000.0, 128000.0, 14000.0) pb6 (b[6], lock_b, ok[15]);
    clk_probe #("b CLKSYN", 21333.3, 10666.7, -1.0) pb7 (b[7], lock_b, ok[16]);
    clk_probe #("b CLKSYN180", 21333.3, 10666.7, -1.0) pb8 (b[8], lock_b, ok[17]);
    clk_probe #("c CLK0", 10000.0, 3000.0, 0.0) pc0 (c[0], lock_c, ok[18]);
    clk_probe #("c CLK90", 10000.0, 3000.0, 2500.0) pc1 (c[1], lock_c, ok[19]);
    clk_probe #("c CLK180", 10000.0, 3000.0, 5000.0) pc2 (c[2], lock_c, ok[20]);
    clk_probe #("c CLK270", 10000.0, 3000.0, 7500.0) pc3 (c[3], lock_c, ok[21]);
    clk_probe #("c CLKDBL", 5000.0, 2500.0, 0.0) pc4 (c[4], lock_c, ok[22]);
    clk_probe #("c CLKDBL180", 5000.0, 2500.0, 2500.0) pc5 (c[5], lock_c, ok[23]);
    clk_probe #("c CLKSLOW", 20000.0, 10000.0, 10000.0) pc6 (c[6], lock_c, ok[24]);
    clk_probe #("c CLKSYN", 2500.0, 1250.0, 0.0) pc7 (c[7], lock_c, ok[25]);
    clk_probe #("c CLKSYN180", 2500.0, 1250.0, 1250.0) pc8 (c[8], lock_c, ok[26]);

    // LOCKED rises on the 16th rising input edge after reset.
    integer edges_a = 0;
    always @(posedge clk_a) if (!rst) edges_a = edges_a + 1;
    always @(posedge lock_a)
        if (edges_a != 16) begin
            $display("FAIL: a LOCKED rose on input edge %0d, expected 16", edges_a);
            failures = failures + 1;
        end

    realtime t_edge, t_shifted;
    initial begin
        #21000 rst = 1'b0;
        #800000;
        if (ok !== {27{1'b1}}) begin
            $display("FAIL: clock checks passed: %b", ok);
            failures = failures + 1;
        end
        // Four steps later: CLK0 of c moves by 4 x 10 ns / 256.
        @(posedge c[0]) t_edge = $realtime;
        @(posedge shclk) #1 shen = 1'b1;
        repeat (4) @(posedge shclk);
        #1 shen = 1'b0;
        repeat (20) @(posedge c[0]);
        t_shifted = $realtime;
        if ((t_shifted - t_edge) - 10000.0 * $floor((t_shifted - t_edge) / 10000.0) < 155.0 ||
            (t_shifted - t_edge) - 10000.0 * $floor((t_shifted - t_edge) / 10000.0) > 157.0) begin
            $display("FAIL: c CLK0 moved by %0.1f ps after four steps, expected 156.25",
                     (t_shifted - t_edge) - 10000.0 * $floor((t_shifted - t_edge) / 10000.0));
            failures = failures + 1;
        end
        // Reset: LOCKED and every output fall at once.
        @(posedge a[0]) #1 rst = 1'b1;
        #1;
        if (lock_a !== 1'b0 || a !== 9'b0 || lock_c !== 1'b0 || c !== 9'b0) begin
            $display("FAIL: reset left LOCKED %b or outputs %b high", lock_a, a);
            failures = failures + 1;
        end
        #50000;
        if (a !== 9'b0 || b !== 9'b0) begin
            $display("FAIL: outputs toggle during reset");
            failures = failures + 1;
        end
        rst = 1'b0;
        edges_a = 0;
        #200000;
        if (lock_a !== 1'b1 || status_a !== 8'b0) begin
            $display("FAIL: a did not lock again after reset (LOCKED %b, STATUS %b)", lock_a, status_a);
            failures = failures + 1;
        end
        // The input stops: within 1.5 input periods of its last rising edge
        // LOCKED and the outputs fall and STATUS[1] rises; the late edge
        // that follows keeps the lock lost.
        @(posedge clk_a) #1 force clk_a = 1'b0;
        #20000;
        if (lock_a !== 1'b0 || a !== 9'b0 || status_a[1] !== 1'b1) begin
            $display("FAIL: a kept its lock 20 ns after its input stopped (LOCKED %b, STATUS %b)", lock_a, status_a);
            failures = failures + 1;
        end
        release clk_a;
        #30000;
        if (lock_a !== 1'b0 || status_a[1] !== 1'b1) begin
            $display("FAIL: a kept its lock on a wrong input period (LOCKED %b, STATUS %b)", lock_a, status_a);
            failures = failures + 1;
        end
        if (failures == 0) $display("PASS"); else $display("FAIL");
        $finish;
    end
endmodule
