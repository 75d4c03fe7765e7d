`timescale 1ps/1ps
// Measures one clock of a model from the rising edge of START on: it skips
// the first rising edge (a clock may start with a short pulse), then takes
// the period and the high time of the next cycle and the time of its rising
// edge after START modulo the period. Each is compared with the expected
// value (ps) within TOL ps; OK rises when all three match, and a FAIL line
// names what did not. OFFSET < 0 leaves the phase unchecked.
module clk_probe #(
    parameter NAME = "clk",
    parameter real PERIOD = 1000.0,
    parameter real HIGH = 500.0,
    parameter real OFFSET = 0.0,
    parameter real TOL = 1.0
) (
    input wire clk,
    input wire start,
    output reg ok
);
    realtime t0, r1, f1, r2, offset;

    function close(input real a, input real b);
        close = (a - b <= TOL) && (b - a <= TOL);
    endfunction

    initial begin
        ok = 1'b0;
        @(posedge start);
        t0 = $realtime;
        @(posedge clk);
        @(posedge clk);
        r1 = $realtime;
        @(negedge clk);
        f1 = $realtime;
        @(posedge clk);
        r2 = $realtime;
        offset = (r1 - t0) - PERIOD * $floor((r1 - t0) / PERIOD);
        // An offset just below a whole period is the same phase as zero.
        if (PERIOD - offset <= TOL) offset = offset - PERIOD;
        if (!close(r2 - r1, PERIOD))
            $display("FAIL: %0s period %0.1f ps, expected %0.1f", NAME, r2 - r1, PERIOD);
        else if (!close(f1 - r1, HIGH))
            $display("FAIL: %0s high time %0.1f ps, expected %0.1f", NAME, f1 - r1, HIGH);
        else if (OFFSET >= 0.0 && !close(offset, OFFSET))
            $display("FAIL: %0s rising edge %0.1f ps after start (mod period), expected %0.1f", NAME, offset, OFFSET);
        else
            ok = 1'b1;
    end
endmodule
