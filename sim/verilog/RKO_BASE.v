`timescale 1ps/1ps
// Simulation model of RKO_BASE, the phase-locked loop with the basic ports.
// It models the configured function and timing of the
// outputs, not the analog behaviour of the loop (no jitter, no frequency
// ramp while locking).
//
// Input: CLKIN with the period INCLK_PERIOD (ns).
// Lock: LOCKED rises on the 32nd rising edge of CLKIN after RST
// falls, counting only edges that follow the previous one by its period
// within 1 %; an edge off that period starts the count again. When the input
// leaves its period after lock, or stops for 1.5 periods, LOCKED falls; with RELOCK_RESET = TRUE the
// model locks again on its own, with FALSE it waits for the next RST. RST
// clears LOCKED at once.
// Outputs (held low while unlocked), with Tin the input period and the VCO
// period Tv = Tin * REFCLK_DIV / FBCLKOUT_MULT: CLKOUTn has the period
// Tv * CLKOUTn_DIVIDE, the high time CLKOUTn_DUTY of it, and its rising edge
// CLKOUTn_PHASE degrees of its period after the input edge at which LOCKED
// rose. CLKFBOUT has the period Tin * REFCLK_DIV, a 50 % duty cycle and is
// aligned to that input edge: the feedback path is taken as compensated
// (CLKFBOUT through CLKFBIN, no delay), so a FBCLKOUT_PHASE moves every
// CLKOUTn earlier by that phase of the CLKFBOUT period instead. CLKFBIN is
// not watched.
// LOOP_BW and DESKEW_PATH shape the silicon only; the model checks their
// values.
module RKO_BASE #(
    parameter real INCLK_PERIOD = 10.000,
    parameter LOOP_BW = "OPTIMIZED",
    parameter DESKEW_PATH = "SYSTEM_SYNCHRONOUS",
    parameter integer REFCLK_DIV = 1,
    parameter integer FBCLKOUT_MULT = 6,
    parameter real FBCLKOUT_PHASE = 0.000,
    parameter integer CLKOUT0_DIVIDE = 6,
    parameter real CLKOUT0_PHASE = 0.000,
    parameter real CLKOUT0_DUTY = 0.50,
    parameter integer CLKOUT1_DIVIDE = 3,
    parameter real CLKOUT1_PHASE = 0.000,
    parameter real CLKOUT1_DUTY = 0.50,
    parameter integer CLKOUT2_DIVIDE = 12,
    parameter real CLKOUT2_PHASE = 0.000,
    parameter real CLKOUT2_DUTY = 0.50,
    parameter integer CLKOUT3_DIVIDE = 4,
    parameter real CLKOUT3_PHASE = 0.000,
    parameter real CLKOUT3_DUTY = 0.50,
    parameter integer CLKOUT4_DIVIDE = 24,
    parameter real CLKOUT4_PHASE = 0.000,
    parameter real CLKOUT4_DUTY = 0.50,
    parameter integer CLKOUT5_DIVIDE = 2,
    parameter real CLKOUT5_PHASE = 0.000,
    parameter real CLKOUT5_DUTY = 0.50,
    parameter RELOCK_RESET = "FALSE",
    parameter LOC = ""
) (
    input wire CLKIN,
    input wire CLKFBIN,
    input wire RST,
    output wire CLKFBOUT,
    output wire CLKOUT0,
    output wire CLKOUT1,
    output wire CLKOUT2,
    output wire CLKOUT3,
    output wire CLKOUT4,
    output wire CLKOUT5,
    output wire LOCKED
);
    localparam integer LOCK_CYCLES = 32;
    /* verilator lint_off WIDTH */
    localparam RELOCK = (RELOCK_RESET == "TRUE");
    /* verilator lint_on WIDTH */

    reg locked = 1'b0;
    reg lost = 1'b0;
    integer epoch = 0;
    integer count = 0;
    realtime last_rise = -1.0;
    realtime base = 0.0;
    real t_in = INCLK_PERIOD * 1000.0;
    reg [6:0] q = 7'b0;

    function in_list3(input [8*24-1:0] v, input [8*24-1:0] a, input [8*24-1:0] b, input [8*24-1:0] c);
        in_list3 = (v == a) || (v == b) || (v == c);
    endfunction

    function integer divide_of(input integer i);
        case (i)
            0: divide_of = CLKOUT0_DIVIDE;
            1: divide_of = CLKOUT1_DIVIDE;
            2: divide_of = CLKOUT2_DIVIDE;
            3: divide_of = CLKOUT3_DIVIDE;
            4: divide_of = CLKOUT4_DIVIDE;
            default: divide_of = CLKOUT5_DIVIDE;
        endcase
    endfunction

    function real phase_of(input integer i);
        case (i)
            0: phase_of = CLKOUT0_PHASE;
            1: phase_of = CLKOUT1_PHASE;
            2: phase_of = CLKOUT2_PHASE;
            3: phase_of = CLKOUT3_PHASE;
            4: phase_of = CLKOUT4_PHASE;
            default: phase_of = CLKOUT5_PHASE;
        endcase
    endfunction

    function real duty_of(input integer i);
        case (i)
            0: duty_of = CLKOUT0_DUTY;
            1: duty_of = CLKOUT1_DUTY;
            2: duty_of = CLKOUT2_DUTY;
            3: duty_of = CLKOUT3_DUTY;
            4: duty_of = CLKOUT4_DUTY;
            default: duty_of = CLKOUT5_DUTY;
        endcase
    endfunction

    integer n;
    initial begin
        if (INCLK_PERIOD < 1.25 || INCLK_PERIOD > 100.0)
            $display("ERROR: RKO_BASE %m: INCLK_PERIOD = %0f ns is outside 1.250 to 100.000", INCLK_PERIOD);
        /* verilator lint_off WIDTH */
        if (!in_list3(LOOP_BW, "OPTIMIZED", "HIGH", "LOW"))
            $display("ERROR: RKO_BASE %m: LOOP_BW = \"%0s\" is none of OPTIMIZED, HIGH, LOW", LOOP_BW);
        if (!in_list3(DESKEW_PATH, "SYSTEM_SYNCHRONOUS", "SOURCE_SYNCHRONOUS", "INTERNAL") && DESKEW_PATH != "EXTERNAL")
            $display("ERROR: RKO_BASE %m: DESKEW_PATH = \"%0s\" is none of SYSTEM_SYNCHRONOUS, SOURCE_SYNCHRONOUS, INTERNAL, EXTERNAL",
                     DESKEW_PATH);
        if (!in_list3(RELOCK_RESET, "TRUE", "FALSE", "FALSE"))
            $display("ERROR: RKO_BASE %m: RELOCK_RESET = \"%0s\" is neither TRUE nor FALSE", RELOCK_RESET);
        /* verilator lint_on WIDTH */
        if (REFCLK_DIV < 1 || REFCLK_DIV > 56)
            $display("ERROR: RKO_BASE %m: REFCLK_DIV = %0d is outside 1 to 56", REFCLK_DIV);
        if (FBCLKOUT_MULT < 2 || FBCLKOUT_MULT > 64)
            $display("ERROR: RKO_BASE %m: FBCLKOUT_MULT = %0d is outside 2 to 64", FBCLKOUT_MULT);
        if (FBCLKOUT_PHASE < 0.0 || FBCLKOUT_PHASE > 360.0)
            $display("ERROR: RKO_BASE %m: FBCLKOUT_PHASE = %0f is outside 0.000 to 360.000", FBCLKOUT_PHASE);
        for (n = 0; n <= 5; n = n + 1) begin
            if (divide_of(n) < 1 || divide_of(n) > 128)
                $display("ERROR: RKO_BASE %m: CLKOUT%0d_DIVIDE = %0d is outside 1 to 128", n, divide_of(n));
            if (phase_of(n) < -360.0 || phase_of(n) > 360.0)
                $display("ERROR: RKO_BASE %m: CLKOUT%0d_PHASE = %0f is outside -360.000 to 360.000", n, phase_of(n));
            if (duty_of(n) < 0.01 || duty_of(n) > 0.99)
                $display("ERROR: RKO_BASE %m: CLKOUT%0d_DUTY = %0f is outside 0.01 to 0.99", n, duty_of(n));
        end
    end

    localparam real T_IN = INCLK_PERIOD * 1000.0;

    // Lock detection on CLKIN; RST clears it at once.
    always @(posedge CLKIN or posedge RST) begin
        if (RST === 1'b1) begin
            locked <= 1'b0;
            lost <= 1'b0;
            count = 0;
            last_rise = -1.0;
            epoch = epoch + 1;
        end else begin
            if (last_rise >= 0.0 && ($realtime - last_rise > 1.01 * T_IN || $realtime - last_rise < 0.99 * T_IN)) begin
                if (locked) begin
                    locked <= 1'b0;
                    epoch = epoch + 1;
                end
                lost <= !RELOCK;
                count = 1;
            end else if (!lost) begin
                count = count + 1;
            end
            last_rise = $realtime;
            if (!locked && !lost && count == LOCK_CYCLES) begin
                base = $realtime;
                locked <= 1'b1;
                epoch = epoch + 1;
            end
        end
    end

    // A stopped input: no rising edge for 1.5 input periods while locked
    // drops LOCKED and the outputs (checked every quarter period); the late
    // edge, when it comes, counts as an input off its period.
    reg stalled = 1'b0;
    always begin
        wait (locked === 1'b1);
        stalled = 1'b0;
        while (locked === 1'b1) begin
            #(T_IN / 4.0);
            if (locked === 1'b1 && $realtime - last_rise >= 1.5 * T_IN) stalled = 1'b1;
        end
    end

    // Period, rising-edge offset within the period and high time of each
    // output: 0 to 5 CLKOUT0 to CLKOUT5, 6 CLKFBOUT.
    function real out_period(input integer i);
        if (i == 6) out_period = t_in * REFCLK_DIV;
        else out_period = t_in * REFCLK_DIV / FBCLKOUT_MULT * divide_of(i);
    endfunction

    function real out_offset(input integer i);
        real shift;
        begin
            if (i == 6) begin
                out_offset = 0.0;
            end else begin
                shift = phase_of(i) / 360.0 * out_period(i) - FBCLKOUT_PHASE / 360.0 * out_period(6);
                out_offset = shift - out_period(i) * $floor(shift / out_period(i));
            end
        end
    endfunction

    function real out_high(input integer i);
        if (i == 6) out_high = out_period(6) / 2.0;
        else out_high = duty_of(i) * out_period(i);
    endfunction

    genvar g;
    generate
        for (g = 0; g <= 6; g = g + 1) begin : outs
            integer mine;
            integer k;
            realtime t;
            // Sleeps until time 't_end' (to the picosecond) in steps of at
            // most one input period, so that a restart is seen before the
            // model can lock again.
            task automatic sleep_until(input realtime t_end);
                while (t_end - $realtime >= 0.5 && epoch == mine)
                    #((t_end - $realtime > t_in) ? t_in : t_end - $realtime);
            endtask
            always begin
                wait (locked === 1'b1);
                mine = epoch;
                k = 0;
                while (epoch == mine) begin
                    t = base + out_offset(g) + k * out_period(g);
                    sleep_until(t);
                    if (epoch == mine) begin
                        q[g] = 1'b1;
                        sleep_until(t + out_high(g));
                        q[g] = 1'b0;
                    end
                    k = k + 1;
                end
                q[g] = 1'b0;
            end
        end
    endgenerate

    assign {CLKFBOUT, CLKOUT5, CLKOUT4, CLKOUT3, CLKOUT2, CLKOUT1, CLKOUT0} = (locked && !stalled) ? q : 7'b0;
    assign LOCKED = locked && !stalled;
endmodule
