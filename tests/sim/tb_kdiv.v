`timescale 1ps/1ps
// The clock divider: period and duty cycle of each divide (odd divides turn
// over on falling edges), INIT_OUT, CE with either DIVIDE_TYPE, and CLR.
//   k3: / 3 from INIT_OUT 1; k8: / 8; k1: / 1 follows I.
//   ks, ka: / 2 with CE low for two input cycles, taken on rising edges of
//   I only (SYNCHRONOUS) or on every edge (ASYNCHRONOUS).
module tb_kdiv;
    reg i = 1'b0, ce = 1'b1, clr = 1'b1;
    wire o3, o8, o1, os, oa;
    reg start = 1'b0;
    integer failures = 0;

    always #5000 i = ~i;

    KDIV #(.DIVIDE(3), .INIT_OUT(1)) k3 (.I(i), .CE(1'b1), .CLR(clr), .O(o3));
    KDIV #(.DIVIDE(8)) k8 (.I(i), .CE(1'b1), .CLR(clr), .O(o8));
    KDIV #(.DIVIDE(1)) k1 (.I(i), .CE(1'b1), .CLR(clr), .O(o1));
    KDIV #(.DIVIDE(2)) ks (.I(i), .CE(ce), .CLR(clr), .O(os));
    KDIV #(.DIVIDE(2), .DIVIDE_TYPE("ASYNCHRONOUS")) ka (.I(i), .CE(ce), .CLR(clr), .O(oa));

    wire [2:0] ok;
    clk_probe #("k3", 30000.0, 15000.0, 15000.0) p3 (o3, start, ok[0]);
    clk_probe #("k8", 80000.0, 40000.0, 0.0) p8 (o8, start, ok[1]);
    clk_probe #("k1", 10000.0, 5000.0, 0.0) p1 (o1, start, ok[2]);

    task expect(input [8*16-1:0] what, input got, input want);
        if (got !== want) begin
            $display("FAIL: %0s at %0t: %b, expected %b", what, $realtime, got, want);
            failures = failures + 1;
        end
    endtask

    initial begin
        #1000;
        expect("k3 in CLR", o3, 1'b1);
        expect("k8 in CLR", o8, 1'b0);
        #16000 clr = 1'b0;
        // The first rising edge after CLR (20 ns) starts every divider.
        @(posedge i) start = 1'b1;
        #1;
        expect("k3 first edge", o3, 1'b0);
        expect("k8 first edge", o8, 1'b1);
        #300000;
        if (ok !== 3'b111) begin
            $display("FAIL: divided clocks: %b", ok);
            failures = failures + 1;
        end
        // CE low from 2.5 ns after a rising edge of I on which both / 2
        // dividers turned over, for two input cycles: both hold O. The
        // synchronous one sampled CE high on that rising edge, so it still
        // counts the falling edge after it; the asynchronous one does not.
        @(posedge os) #2500 ce = 1'b0;
        #5000;
        expect("sync CE low", os, 1'b1);
        expect("async CE low", oa, 1'b1);
        #10000;
        expect("sync CE held", os, 1'b1);
        expect("async CE held", oa, 1'b1);
        // CE back 2.5 ns before a rising edge: the synchronous divider turns
        // over on it (its second edge), the asynchronous one a half cycle
        // later.
        ce = 1'b1;
        #5000;
        expect("sync after CE", os, 1'b0);
        expect("async after CE", oa, 1'b1);
        #5000;
        expect("async later", oa, 1'b0);
        // CLR returns O to INIT_OUT at once.
        clr = 1'b1;
        #1;
        expect("k3 CLR", o3, 1'b1);
        expect("k8 CLR", o8, 1'b0);
        if (failures == 0) $display("PASS"); else $display("FAIL");
        $finish;
    end
endmodule
