`timescale 1ps/1ps
// The clock buffers: KBUFG and KOBUF pass I; KBUFGCE stops and starts
// without a short pulse with CE_TYPE SYNC and at once with ASYNC; KBUFGMUX
// switches at a falling edge of O with SYNC (waiting, low, for the new clock
// to be low) and at once with ASYNC. Clock i: 10 ns, j: 36 ns.
module tb_kbuf;
    reg i = 1'b0, j = 1'b0, ce = 1'b1, s = 1'b0;
    wire og, oo, gs, ga, ms, ma;
    integer failures = 0;

    always #5000 i = ~i;
    always #18000 j = ~j;

    KBUFG g (.I(i), .O(og));
    KOBUF ob (.I(i), .O(oo));
    KBUFGCE ces (.I(i), .CE(ce), .O(gs));
    KBUFGCE #(.CE_TYPE("ASYNC")) cea (.I(i), .CE(ce), .O(ga));
    KBUFGMUX mxs (.I0(i), .I1(j), .S(s), .O(ms));
    KBUFGMUX #(.CLK_SEL_TYPE("ASYNC")) mxa (.I0(i), .I1(j), .S(s), .O(ma));

    task expect(input [8*16-1:0] what, input got, input want);
        if (got !== want) begin
            $display("FAIL: %0s at %0t: %b, expected %b", what, $realtime, got, want);
            failures = failures + 1;
        end
    endtask

    // No level of a synchronous output lasts less than half a period of i.
    realtime gs_last = 0.0, ms_last = 0.0;
    always @(gs) begin
        if ($realtime > 0 && $realtime - gs_last < 4999.0) begin
            $display("FAIL: KBUFGCE SYNC pulse at %0t", $realtime);
            failures = failures + 1;
        end
        gs_last = $realtime;
    end
    always @(ms) begin
        if ($realtime > 0 && $realtime - ms_last < 4999.0) begin
            $display("FAIL: KBUFGMUX SYNC pulse at %0t", $realtime);
            failures = failures + 1;
        end
        ms_last = $realtime;
    end

    initial begin
        #6000;
        expect("KBUFG", og, 1'b1);
        expect("KOBUF", oo, 1'b1);
        #10000;
        expect("CE sync on", gs, 1'b1);
        // CE falls while i is high (35 to 40 ns).
        #21500 ce = 1'b0;
        #500;
        expect("CE sync off high", gs, 1'b1);
        expect("CE async off", ga, 1'b0);
        #8000;
        expect("CE sync off", gs, 1'b0);
        // CE rises while i is high (55 to 60 ns): on from the fall at 60 ns.
        #11500 ce = 1'b1;
        #500;
        expect("CE sync on high", gs, 1'b0);
        expect("CE async on", ga, 1'b1);
        #8000;
        expect("CE sync back", gs, 1'b1);
        // S rises with i high and j low: the switch waits for i to fall.
        #11500 s = 1'b1;
        #500;
        expect("mux sync before", ms, 1'b1);
        expect("mux async", ma, 1'b0);
        #8000;
        expect("mux sync i hidden", ms, 1'b0);
        #5000;
        expect("mux sync j", ms, 1'b1);
        // S falls with j high; at its fall (108 ns) i is high: O stays low
        // until i falls (110 ns) and follows i from then.
        #1500 s = 1'b0;
        #500;
        expect("mux sync j held", ms, 1'b1);
        expect("mux async back", ma, 1'b0);
        #16000;
        expect("mux sync hold", ms, 1'b0);
        #7000;
        expect("mux sync i", ms, 1'b1);
        if (failures == 0) $display("PASS"); else $display("FAIL");
        $finish;
    end
endmodule
