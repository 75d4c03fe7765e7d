-- Simulation model of KBUFGCE, the global clock buffer with an enable.
--
-- O follows I while the enable is on and stays 0 while it is off. With
-- CE_TYPE SYNC the enable is CE taken at each falling edge of I, so O only
-- starts or stops while I is low and never gives a short pulse; it is off
-- until the first falling edge of I. With ASYNC the enable is CE itself
-- (O = I and CE).
library ieee;
use ieee.std_logic_1164.all;

entity KBUFGCE is
    generic (
        CE_TYPE : string := "SYNC"
    );
    port (
        I : in std_logic := '0';
        CE : in std_logic := '0';
        O : out std_logic
    );
end entity KBUFGCE;

architecture model of KBUFGCE is
    constant SYNC : boolean := CE_TYPE = "SYNC";
    signal en_q : std_logic := '0';
begin
    check : process
    begin
        if CE_TYPE /= "SYNC" and CE_TYPE /= "ASYNC" then
            report "KBUFGCE " & KBUFGCE'path_name & ": CE_TYPE = """ & CE_TYPE &
                """ is neither SYNC nor ASYNC" severity error;
        end if;
        wait;
    end process;

    enable : process (I)
    begin
        if I'event and I = '0' then
            if CE = '1' then
                en_q <= '1';
            else
                en_q <= '0';
            end if;
        end if;
    end process;

    O <= I and en_q when SYNC else I and CE;
end architecture model;
