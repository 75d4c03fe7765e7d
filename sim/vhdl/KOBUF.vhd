-- Simulation model of KOBUF, the buffer that drives a clock to a device pin.
-- O follows I; the model adds no delay.
library ieee;
use ieee.std_logic_1164.all;

entity KOBUF is
    port (
        I : in std_logic := '0';
        O : out std_logic
    );
end entity KOBUF;

architecture model of KOBUF is
begin
    O <= I;
end architecture model;
