`timescale 1ps/1ps
// Simulation model of KBUFG, the buffer that puts a clock onto the global
// clock network. O follows I; the model adds no delay.
module KBUFG (
    input wire I,
    output wire O
);
    assign O = I;
endmodule
