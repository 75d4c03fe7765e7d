// Delay taps of IDLY: measures the delay of an edge through a fixed delay and
// through a variable one stepped up, down and reset, against
// taps / (64 x REF_FREQ); and IDLYCTRL's READY after reset.
`timescale 1ps/1ps
module tb_idly;
    parameter real REF_FREQ = 200.0;
    parameter integer TAPS = 6;
    localparam real TAP_PS = 1.0e6 / (64.0 * REF_FREQ);

    reg       i = 1'b0, c = 1'b0, ce = 1'b0, inc = 1'b0, rst = 1'b0, refclk = 1'b0, ctrl_rst = 1'b1;
    wire      o_fixed, o_var, ready;
    wire [4:0] taps_var;
    integer   errors = 0, cycles = 0;
    real      t0;

    IDLY #(.DELAY_KIND("FIXED"), .DELAY_TAPS(TAPS), .REF_FREQ(REF_FREQ)) fixed_dly (
        .I(i), .C(c), .CE(1'b1), .INC(1'b1), .RST(1'b0), .TAPS_IN(5'd0), .O(o_fixed), .TAPS_OUT());
    IDLY #(.DELAY_KIND("VARIABLE"), .DELAY_TAPS(TAPS), .REF_FREQ(REF_FREQ)) var_dly (
        .I(i), .C(c), .CE(ce), .INC(inc), .RST(rst), .TAPS_IN(5'd0), .O(o_var), .TAPS_OUT(taps_var));
    IDLYCTRL ctrl (.REFCLK(refclk), .RST(ctrl_rst), .READY(ready));

    always #($rtoi(5.0e5 / REF_FREQ)) refclk = ~refclk;
    always @(posedge refclk) cycles = cycles + 1;

    // Measures the delay of a rising and a falling edge of I through o.
    task expect_delay(input integer which, input integer taps);
        real want, got;
        begin
            want = $rtoi(taps * TAP_PS + 0.5);
            t0 = $realtime;
            i = ~i;
            if (which == 0) @(o_fixed); else @(o_var);
            got = $realtime - t0;
            if (got < want - 1.0 || got > want + 1.0) begin
                $display("delay %0s %0d taps: %0.1f ps, expected %0.1f ps",
                         which == 0 ? "fixed" : "variable", taps, got, want);
                errors = errors + 1;
            end
            #5000;
        end
    endtask

    // One step of the variable delay on a rising edge of C.
    task step(input s_ce, input s_inc, input s_rst);
        begin
            ce = s_ce; inc = s_inc; rst = s_rst;
            #100 c = 1'b1; #100 c = 1'b0;
            ce = 1'b0; rst = 1'b0;
        end
    endtask

    initial begin
        #1000;
        expect_delay(0, TAPS);
        expect_delay(0, TAPS);
        expect_delay(1, TAPS);
        step(1, 1, 0); step(1, 1, 0); step(1, 1, 0);
        if (taps_var !== TAPS + 3) begin
            $display("TAPS_OUT %0d after three steps up, expected %0d", taps_var, TAPS + 3);
            errors = errors + 1;
        end
        expect_delay(1, TAPS + 3);
        step(1, 0, 0);
        expect_delay(1, TAPS + 2);
        step(0, 1, 0);
        expect_delay(1, TAPS + 2);
        step(0, 0, 1);
        expect_delay(1, TAPS);

        // READY after 16 reference cycles of the right period, not before.
        @(negedge refclk) ctrl_rst = 1'b0;
        cycles = 0;
        wait (cycles == 15);
        #1 if (ready !== 1'b0) begin
            $display("READY after 15 cycles");
            errors = errors + 1;
        end
        wait (cycles == 17);
        #1 if (ready !== 1'b1) begin
            $display("READY still low after 17 cycles");
            errors = errors + 1;
        end
        ctrl_rst = 1'b1;
        #1 if (ready !== 1'b0) begin
            $display("READY high in reset");
            errors = errors + 1;
        end
        if (errors == 0) $display("PASS: REF_FREQ %0.1f MHz, %0d taps", REF_FREQ, TAPS);
        else $display("FAIL: REF_FREQ %0.1f MHz, %0d taps, %0d errors", REF_FREQ, TAPS, errors);
        $finish;
    end
endmodule
