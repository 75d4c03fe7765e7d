// Simulation model of IDLY, an input delay line of 32 taps. One tap is
// 1 / (64 x REF_FREQ) (REF_FREQ in MHz): 78.125 ps at 200 MHz. O follows I
// after the current number of taps (transport delay: pulses shorter than the
// delay pass unchanged; the total delay is rounded to 1 ps).
//
// DELAY_KIND:
//   DEFAULT   no delay (0 taps; DELAY_TAPS must be 0)
//   FIXED     DELAY_TAPS taps
//   VARIABLE  starts at DELAY_TAPS; on a rising edge of C, RST reloads
//             DELAY_TAPS, else CE steps one tap up (INC=1) or down (INC=0),
//             wrapping between 31 and 0
//   LOADABLE  as VARIABLE, but RST loads TAPS_IN
// TAPS_OUT shows the current number of taps. TRAFFIC_KIND does not change
// the delay.
`timescale 1ps/1ps
module IDLY #(
    parameter DELAY_KIND   = "FIXED",
    parameter integer DELAY_TAPS = 0,
    parameter real REF_FREQ = 200.0,
    parameter TRAFFIC_KIND = "DATA",
    parameter LOC = ""
) (
    input  wire       I,
    input  wire       C,
    input  wire       CE,
    input  wire       INC,
    input  wire       RST,
    input  wire [4:0] TAPS_IN,
    output wire       O,
    output wire [4:0] TAPS_OUT
);
    localparam real TAP_PS = 1.0e6 / (64.0 * REF_FREQ);
    localparam integer KIND_DEFAULT = 0, KIND_FIXED = 1, KIND_VARIABLE = 2, KIND_LOADABLE = 3;
    localparam integer KIND = (DELAY_KIND == "DEFAULT") ? KIND_DEFAULT :
                              (DELAY_KIND == "FIXED") ? KIND_FIXED :
                              (DELAY_KIND == "VARIABLE") ? KIND_VARIABLE :
                              (DELAY_KIND == "LOADABLE") ? KIND_LOADABLE : -1;

    reg [4:0] taps = (DELAY_KIND == "DEFAULT") ? 5'd0 : DELAY_TAPS[4:0];
    reg       o_q = 1'b0;
    assign O        = o_q;
    assign TAPS_OUT = taps;

    initial begin
        if (KIND < 0)
            $display("ERROR: %m: DELAY_KIND \"%0s\" is not DEFAULT, FIXED, VARIABLE or LOADABLE", DELAY_KIND);
        if (DELAY_TAPS < 0 || DELAY_TAPS > 31)
            $display("ERROR: %m: DELAY_TAPS %0d is outside 0 to 31", DELAY_TAPS);
        if (KIND == KIND_DEFAULT && DELAY_TAPS != 0)
            $display("ERROR: %m: DELAY_KIND DEFAULT has no delay taps, DELAY_TAPS %0d is not applied", DELAY_TAPS);
        if (REF_FREQ < 190.0 || REF_FREQ > 210.0)
            $display("ERROR: %m: REF_FREQ %0f MHz is outside 190 to 210 MHz", REF_FREQ);
        if (TRAFFIC_KIND != "DATA" && TRAFFIC_KIND != "CLOCK")
            $display("ERROR: %m: TRAFFIC_KIND \"%0s\" is not DATA or CLOCK", TRAFFIC_KIND);
    end

    // Transport delay: every change of I is scheduled on its own.
    integer delay_ps;
    always @(I) begin
        delay_ps = $rtoi(taps * TAP_PS + 0.5);
        if (delay_ps == 0) o_q <= I;
        else o_q <= #(delay_ps) I;
    end

    always @(posedge C) begin
        if (KIND == KIND_VARIABLE || KIND == KIND_LOADABLE) begin
            if (RST === 1'b1)
                taps <= (KIND == KIND_LOADABLE) ? TAPS_IN : DELAY_TAPS[4:0];
            else if (CE === 1'b1)
                taps <= (INC === 1'b1) ? taps + 5'd1 : taps - 5'd1;
        end
    end
endmodule
