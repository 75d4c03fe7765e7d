-- Simulation model of KBUFG, the buffer that puts a clock onto the global
-- clock network.
-- O follows I; the model adds no delay.
library ieee;
use ieee.std_logic_1164.all;

entity KBUFG is
    port (
        I : in std_logic := '0';
        O : out std_logic
    );
end entity KBUFG;

architecture model of KBUFG is
begin
    O <= I;
end architecture model;
