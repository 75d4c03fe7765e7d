`timescale 1ps/1ps
// The DSP model against products worked out in the testbench's own integer
// arithmetic, on a stream of random operands with clock-enable gaps and
// resets.
//   d0: 12-bit signed x 10-bit unsigned, no register: P follows at once
//       (the unused upper bits of A and B carry noise).
//   d1: 18-bit signed x signed, A/B 2 + M 1 + P 1 registers (latency 4),
//       synchronous reset.
//   d2: 18-bit unsigned x unsigned, A/B 1 + P 1 registers (latency 2),
//       asynchronous reset.
//   d3: 4-bit signed x signed, one register on A only: P = A one enabled
//       clock ago times B now.
module tb_dsp;
    reg clk = 1'b0, ce = 1'b1, rst = 1'b1;
    reg [17:0] a0, b0, a1, b1, a2, b2, a3, b3;
    wire [47:0] p0, p1, p2, p3;
    integer failures = 0;

    always #5000 clk = ~clk;

    DSP #(.A_WIDTH(12), .B_WIDTH(10), .B_SIGNED("FALSE"), .P_WIDTH(22),
          .A_PIPE(0), .B_PIPE(0), .M_PIPE(0), .P_PIPE(0)) d0 (
        .A(a0), .B(b0), .C(48'b0), .P(p0), .CLK(clk), .CE(ce), .RST(rst), .SEL(1'b0), .ADDSUB(1'b0),
        .LOAD(1'b0), .CIN(1'b0), .OPSEL(7'b0000101), .CASC_IN(48'b0), .CASC_OUT(), .BCASC_OUT());
    DSP #(.A_PIPE(2), .B_PIPE(2)) d1 (
        .A(a1), .B(b1), .C(48'b0), .P(p1), .CLK(clk), .CE(ce), .RST(rst), .SEL(1'b0), .ADDSUB(1'b0),
        .LOAD(1'b0), .CIN(1'b0), .OPSEL(7'b0000101), .CASC_IN(48'b0), .CASC_OUT(), .BCASC_OUT());
    DSP #(.A_SIGNED("FALSE"), .B_SIGNED("FALSE"), .M_PIPE(0), .RESET_TYPE("ASYNC")) d2 (
        .A(a2), .B(b2), .C(48'b0), .P(p2), .CLK(clk), .CE(ce), .RST(rst), .SEL(1'b0), .ADDSUB(1'b0),
        .LOAD(1'b0), .CIN(1'b0), .OPSEL(7'b0000101), .CASC_IN(48'b0), .CASC_OUT(), .BCASC_OUT());
    DSP #(.A_WIDTH(4), .B_WIDTH(4), .A_PIPE(1), .B_PIPE(0), .M_PIPE(0), .P_PIPE(0)) d3 (
        .A(a3), .B(b3), .C(48'b0), .P(p3), .CLK(clk), .CE(ce), .RST(rst), .SEL(1'b0), .ADDSUB(1'b0),
        .LOAD(1'b0), .CIN(1'b0), .OPSEL(7'b0000101), .CASC_IN(48'b0), .CASC_OUT(), .BCASC_OUT());

    // Operand values as integers, by enabled clock edge since the last reset.
    reg signed [63:0] va0, vb0, va3, vb3;
    reg signed [63:0] h1a [0:255], h1b [0:255], h2a [0:255], h2b [0:255], h3a [0:255];
    integer n = 0, cycle, seed = 7;

    function signed [63:0] at1(input integer k);
        at1 = (k < 0) ? 64'sd0 : h1a[k] * h1b[k];
    endfunction
    function signed [63:0] at2(input integer k);
        at2 = (k < 0) ? 64'sd0 : h2a[k] * h2b[k];
    endfunction

    task expect(input [8*8-1:0] name, input [47:0] got, input signed [63:0] want);
        if (got !== want[47:0]) begin
            $display("FAIL: %0s cycle %0d: P = %0d, expected %0d", name, cycle, $signed(got), want);
            failures = failures + 1;
        end
    endtask

    // New operands after each falling edge; the 18-bit extremes come first.
    task drive;
        begin
            va0 = $random(seed) % 2048;
            vb0 = {$random(seed)} % 1024;
            a0 = {6'b101101, va0[11:0]};
            b0 = {8'b11001010, vb0[9:0]};
            if (cycle == 3) begin
                a1 = 18'h20000;
                b1 = 18'h20000;
                a2 = 18'h3ffff;
                b2 = 18'h3ffff;
            end else begin
                a1 = $random(seed);
                b1 = $random(seed);
                a2 = $random(seed);
                b2 = $random(seed);
            end
            va3 = $random(seed) % 8;
            vb3 = $random(seed) % 8;
            a3 = {14'h2aaa, va3[3:0]};
            b3 = {14'h1555, vb3[3:0]};
        end
    endtask

    initial begin
        cycle = 0;
        drive;
        repeat (2) @(posedge clk);
        #1000 rst = 1'b0;
        for (cycle = 1; cycle <= 120; cycle = cycle + 1) begin
            @(negedge clk);
            // A combinational path follows its operands at once.
            #1000 expect("d0", p0, va0 * vb0);
            drive;
            ce = (cycle % 7 != 3) && (cycle % 11 != 5);
            if (cycle == 60) begin
                // Reset between edges: the asynchronous one clears P at once,
                // the synchronous one waits for the edge.
                #1000 rst = 1'b1;
                #1000;
                expect("d1 sync", p1, at1(n - 4));
                expect("d2 async", p2, 64'sd0);
            end
            if (cycle == 61) rst = 1'b0;
            @(posedge clk);
            if (rst) begin
                n = 0;
            end else if (ce) begin
                h1a[n] = $signed(a1);
                h1b[n] = $signed(b1);
                h2a[n] = {46'b0, a2};
                h2b[n] = {46'b0, b2};
                h3a[n] = va3;
                n = n + 1;
            end
            #1000;
            expect("d1", p1, at1(n - 4));
            expect("d2", p2, at2(n - 2));
            expect("d3", p3, (n < 1 ? 64'sd0 : h3a[n - 1]) * vb3);
        end
        if (failures == 0) $display("PASS"); else $display("FAIL");
        $finish;
    end
endmodule
