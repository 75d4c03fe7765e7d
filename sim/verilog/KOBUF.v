`timescale 1ps/1ps
// Simulation model of KOBUF, the buffer that drives a clock to a device pin.
// O follows I; the model adds no delay.
module KOBUF (
    input wire I,
    output wire O
);
    assign O = I;
endmodule
