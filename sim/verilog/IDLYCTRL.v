// Simulation model of IDLYCTRL, the controller that calibrates the taps of the
// input delays (IDLY) against a reference clock.
//
// READY is low while RST is high. After RST falls it rises on the
// READY_CYCLES-th rising edge of REFCLK whose period lies within the range a
// delay tap is specified for (REFCLK between 190 and 210 MHz, see IDLY's
// REF_FREQ). A period outside that range drops READY and restarts the count,
// and is reported once. A stopped REFCLK is not detected.
`timescale 1ps/1ps
module IDLYCTRL #(
    parameter LOC = ""
) (
    input  wire REFCLK,
    input  wire RST,
    output wire READY
);
    localparam integer READY_CYCLES = 16;
    // Period limits in ps: 1e6 / 210 MHz and 1e6 / 190 MHz, widened by 0.1 %
    // for clocks whose half period a testbench rounds to whole picoseconds.
    localparam real MIN_PERIOD = 1.0e6 / 210.0 * 0.999;
    localparam real MAX_PERIOD = 1.0e6 / 190.0 * 1.001;

    reg     ready_q = 1'b0;
    integer good = 0;
    real    last_edge = -1.0;
    real    period;
    reg     reported = 1'b0;

    assign READY = ready_q;

    always @(posedge REFCLK or posedge RST) begin
        if (RST === 1'b1) begin
            ready_q   <= 1'b0;
            good      = 0;
            last_edge = -1.0;
        end else begin
            if (last_edge >= 0.0) begin
                period = $realtime - last_edge;
                if (period < MIN_PERIOD || period > MAX_PERIOD) begin
                    if (!reported)
                        $display("ERROR: %m: REFCLK period %0.1f ps outside %0.1f to %0.1f ps; READY stays low",
                                 period, MIN_PERIOD, MAX_PERIOD);
                    reported = 1'b1;
                    good     = 0;
                    ready_q  <= 1'b0;
                end else if (good < READY_CYCLES) begin
                    good = good + 1;
                    if (good == READY_CYCLES) ready_q <= 1'b1;
                end
            end
            last_edge = $realtime;
        end
    end
endmodule
