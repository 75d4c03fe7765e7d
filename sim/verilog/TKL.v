`timescale 1ps/1ps
// Simulation model of TKL, the clock manager with deskew, phase shift and
// frequency synthesis. It models the configured function and timing
// of the outputs, not the analog behaviour of the loop (no jitter, no
// frequency ramp while locking).
//
// Input: CLKIN with the period INCLK_PERIOD (ns); CLKIN_HALVE = TRUE halves
// it inside, so that the reference period Tr is twice INCLK_PERIOD.
// Lock: LOCKED rises on the 16th rising edge of CLKIN after RST falls,
// counting only edges that follow the previous one by INCLK_PERIOD within
// 1 %; an edge off that period starts the count again. When CLKIN leaves
// that period after lock, or stops for 1.5 periods, LOCKED falls, STATUS[1]
// rises and the model stays unlocked until the next RST. RST clears LOCKED
// at once.
// Outputs (held low while unlocked): CLK0/90/180/270 have the period Tr,
// shifted by 0/90/180/270 degrees, with a 50 % duty cycle (DUTY_FIX = TRUE)
// or the measured duty cycle of CLKIN (DUTY_FIX = FALSE, CLKIN_HALVE =
// FALSE); CLKDBL/CLKDBL180 have the period Tr / 2, CLKSLOW the period
// Tr * CLKSLOW_DIVIDE, CLKSYN/CLKSYN180 the period Tr * CLKSYN_DIVIDE /
// CLKSYN_MULT, all with 50 % duty cycles. The outputs start on the edge of
// CLKIN after the one that locked, moved by the phase shift: with
// PHASE_MODE FIXED, TRACK_POSITIVE or TRACK_CENTER by PHASE_OFFSET / 256 of
// Tr (negative: earlier), with DIRECT from 0. The feedback path (CLKFB,
// FEEDBACK_KIND) is taken as compensated: the outputs are aligned to CLKIN.
// Phase shifting (PHASE_MODE TRACK_POSITIVE, TRACK_CENTER, DIRECT): each
// rising edge of SHCLK with SHEN high moves the outputs by Tr / 256, later
// with SHUPDN high, earlier with it low, within -255 to 255 steps (0 to 255
// for TRACK_POSITIVE); SHDONE is high for the SHCLK cycle after the step. A
// step past the limit is not made and sets STATUS[0].
// SKEW_TRIM, LOOP_RANGE, SYN_RANGE and WAIT_FOR_LOCK shape the silicon only;
// the model checks their values.
module TKL #(
    parameter real INCLK_PERIOD = 10.000,
    parameter CLKIN_HALVE = "FALSE",
    parameter FEEDBACK_KIND = "1X",
    parameter real CLKSLOW_DIVIDE = 2.0,
    parameter integer CLKSYN_MULT = 4,
    parameter integer CLKSYN_DIVIDE = 1,
    parameter SKEW_TRIM = "SYSTEM_SYNCHRONOUS",
    parameter DUTY_FIX = "TRUE",
    parameter WAIT_FOR_LOCK = "FALSE",
    parameter LOOP_RANGE = "LOW",
    parameter SYN_RANGE = "LOW",
    parameter PHASE_MODE = "NONE",
    parameter integer PHASE_OFFSET = 0,
    parameter LOC = ""
) (
    input wire CLKIN,
    input wire CLKFB,
    input wire RST,
    input wire SHCLK,
    input wire SHEN,
    input wire SHUPDN,
    output wire CLK0,
    output wire CLK90,
    output wire CLK180,
    output wire CLK270,
    output wire CLKDBL,
    output wire CLKDBL180,
    output wire CLKSLOW,
    output wire CLKSYN,
    output wire CLKSYN180,
    output wire LOCKED,
    output wire [7:0] STATUS,
    output wire SHDONE
);
    localparam integer LOCK_CYCLES = 16;
    /* verilator lint_off WIDTH */
    localparam HALVE = (CLKIN_HALVE == "TRUE");
    localparam FIXED_DUTY = (DUTY_FIX == "TRUE") || HALVE;
    localparam VARIABLE = (PHASE_MODE == "TRACK_POSITIVE") || (PHASE_MODE == "TRACK_CENTER") ||
                          (PHASE_MODE == "DIRECT");
    localparam integer SHIFT_MIN = (PHASE_MODE == "TRACK_POSITIVE") ? 0 : -255;
    localparam integer SHIFT_START = (PHASE_MODE == "NONE" || PHASE_MODE == "DIRECT") ? 0 : PHASE_OFFSET;
    /* verilator lint_on WIDTH */
    localparam real T_IN = INCLK_PERIOD * 1000.0;
    localparam real T_REF = HALVE ? 2.0 * T_IN : T_IN;

    // Lock state: 'epoch' changes whenever the outputs must start again.
    reg locked = 1'b0;
    reg lost = 1'b0;
    reg overflow = 1'b0;
    integer epoch = 0;
    integer count = 0;
    integer shift = SHIFT_START;
    realtime last_rise = -1.0;
    realtime high_time = 0.0;
    realtime base = 0.0;
    reg [8:0] q = 9'b0;
    reg shdone_q = 1'b0;
    reg shift_pending = 1'b0;

    function in_list2(input [8*24-1:0] v, input [8*24-1:0] a, input [8*24-1:0] b);
        in_list2 = (v == a) || (v == b);
    endfunction

    initial begin
        if (INCLK_PERIOD < 1.25 || INCLK_PERIOD > 1000.0)
            $display("ERROR: TKL %m: INCLK_PERIOD = %0f ns is outside 1.250 to 1000.000", INCLK_PERIOD);
        /* verilator lint_off WIDTH */
        if (!in_list2(CLKIN_HALVE, "TRUE", "FALSE"))
            $display("ERROR: TKL %m: CLKIN_HALVE = \"%0s\" is neither TRUE nor FALSE", CLKIN_HALVE);
        if (!in_list2(FEEDBACK_KIND, "1X", "2X") && FEEDBACK_KIND != "NONE")
            $display("ERROR: TKL %m: FEEDBACK_KIND = \"%0s\" is none of 1X, 2X, NONE", FEEDBACK_KIND);
        if (!(CLKSLOW_DIVIDE >= 1.5 && CLKSLOW_DIVIDE <= 16.0 &&
              (CLKSLOW_DIVIDE * 2.0 == $floor(CLKSLOW_DIVIDE * 2.0)) &&
              (CLKSLOW_DIVIDE <= 7.5 || CLKSLOW_DIVIDE == $floor(CLKSLOW_DIVIDE))))
            $display("ERROR: TKL %m: CLKSLOW_DIVIDE = %0f is none of 1.5 to 7.5 in halves, 8 to 16",
                     CLKSLOW_DIVIDE);
        if (CLKSYN_MULT < 2 || CLKSYN_MULT > 32)
            $display("ERROR: TKL %m: CLKSYN_MULT = %0d is outside 2 to 32", CLKSYN_MULT);
        if (CLKSYN_DIVIDE < 1 || CLKSYN_DIVIDE > 32)
            $display("ERROR: TKL %m: CLKSYN_DIVIDE = %0d is outside 1 to 32", CLKSYN_DIVIDE);
        case (SKEW_TRIM)
            "SYSTEM_SYNCHRONOUS", "SOURCE_SYNCHRONOUS", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11",
            "12", "13", "14", "15": ;
            default:
                $display("ERROR: TKL %m: SKEW_TRIM = \"%0s\" is none of SYSTEM_SYNCHRONOUS, SOURCE_SYNCHRONOUS, 0 to 15",
                         SKEW_TRIM);
        endcase
        if (!in_list2(DUTY_FIX, "TRUE", "FALSE"))
            $display("ERROR: TKL %m: DUTY_FIX = \"%0s\" is neither TRUE nor FALSE", DUTY_FIX);
        if (!in_list2(WAIT_FOR_LOCK, "TRUE", "FALSE"))
            $display("ERROR: TKL %m: WAIT_FOR_LOCK = \"%0s\" is neither TRUE nor FALSE", WAIT_FOR_LOCK);
        if (!in_list2(LOOP_RANGE, "LOW", "HIGH"))
            $display("ERROR: TKL %m: LOOP_RANGE = \"%0s\" is neither LOW nor HIGH", LOOP_RANGE);
        if (!in_list2(SYN_RANGE, "LOW", "HIGH"))
            $display("ERROR: TKL %m: SYN_RANGE = \"%0s\" is neither LOW nor HIGH", SYN_RANGE);
        if (!in_list2(PHASE_MODE, "NONE", "FIXED") && !VARIABLE)
            $display("ERROR: TKL %m: PHASE_MODE = \"%0s\" is none of NONE, FIXED, TRACK_POSITIVE, TRACK_CENTER, DIRECT",
                     PHASE_MODE);
        if (PHASE_OFFSET < -255 || PHASE_OFFSET > 255)
            $display("ERROR: TKL %m: PHASE_OFFSET = %0d is outside -255 to 255", PHASE_OFFSET);
        if (PHASE_MODE == "TRACK_POSITIVE" && PHASE_OFFSET < 0)
            $display("ERROR: TKL %m: PHASE_OFFSET = %0d is negative with PHASE_MODE TRACK_POSITIVE", PHASE_OFFSET);
        /* verilator lint_on WIDTH */
    end

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
                    lost <= 1'b1;
                    epoch = epoch + 1;
                end
                count = 1;
            end else if (!lost) begin
                count = count + 1;
            end
            last_rise = $realtime;
            if (!locked && !lost && count == LOCK_CYCLES) begin
                base = $realtime + T_REF;
                locked <= 1'b1;
                epoch = epoch + 1;
            end
        end
    end

    always @(negedge CLKIN)
        if (!locked && last_rise >= 0.0) high_time = $realtime - last_rise;

    // Phase shift steps on SHCLK.
    always @(posedge SHCLK or posedge RST) begin
        if (RST === 1'b1) begin
            shift = SHIFT_START;
            overflow <= 1'b0;
            shdone_q <= 1'b0;
            shift_pending <= 1'b0;
        end else begin
        shdone_q <= shift_pending;
        shift_pending <= 1'b0;
        if (SHEN === 1'b1) begin
            if (!VARIABLE) begin
                $display("ERROR: TKL %m: SHEN is high at %0t but PHASE_MODE is \"%0s\"", $realtime, PHASE_MODE);
            end else if ((SHUPDN === 1'b1 && shift >= 255) || (SHUPDN !== 1'b1 && shift <= SHIFT_MIN)) begin
                overflow <= 1'b1;
                shift_pending <= 1'b1;
            end else begin
                shift = shift + (SHUPDN === 1'b1 ? 1 : -1);
                shift_pending <= 1'b1;
            end
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
    // output: 0 CLK0, 1 CLK90, 2 CLK180, 3 CLK270, 4 CLKDBL, 5 CLKDBL180,
    // 6 CLKSLOW, 7 CLKSYN, 8 CLKSYN180.
    function real out_period(input integer i);
        case (i)
            0, 1, 2, 3: out_period = T_REF;
            4, 5: out_period = T_REF / 2.0;
            6: out_period = T_REF * CLKSLOW_DIVIDE;
            default: out_period = T_REF * CLKSYN_DIVIDE / CLKSYN_MULT;
        endcase
    endfunction

    function real out_offset(input integer i);
        case (i)
            1: out_offset = T_REF / 4.0;
            2: out_offset = T_REF / 2.0;
            3: out_offset = T_REF * 3.0 / 4.0;
            5: out_offset = T_REF / 4.0;
            8: out_offset = out_period(8) / 2.0;
            default: out_offset = 0.0;
        endcase
    endfunction

    function real out_high(input integer i);
        if (i <= 3 && !FIXED_DUTY) out_high = high_time;
        else out_high = out_period(i) / 2.0;
    endfunction

    genvar g;
    generate
        for (g = 0; g <= 8; g = g + 1) begin : outs
            integer mine;
            integer k;
            realtime t;
            // Sleeps until time 't_end' (to the picosecond) in steps of at
            // most one input period, so that a restart is seen before the
            // model can lock again.
            task automatic sleep_until(input realtime t_end);
                while (t_end - $realtime >= 0.5 && epoch == mine)
                    #((t_end - $realtime > T_IN) ? T_IN : t_end - $realtime);
            endtask
            always begin
                wait (locked === 1'b1);
                mine = epoch;
                k = 0;
                while (epoch == mine) begin
                    t = base + out_offset(g) + k * out_period(g) + shift * T_REF / 256.0;
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

    assign {CLKSYN180, CLKSYN, CLKSLOW, CLKDBL180, CLKDBL, CLK270, CLK180, CLK90, CLK0} = (locked && !stalled) ? q : 9'b0;
    assign LOCKED = locked && !stalled;
    assign STATUS = {6'b0, lost || stalled, overflow};
    assign SHDONE = shdone_q;
endmodule
