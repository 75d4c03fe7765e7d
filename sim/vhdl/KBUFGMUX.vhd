-- Simulation model of KBUFGMUX, the global clock multiplexer.
--
-- O follows I0 while the selection is 0 and I1 while it is 1. With
-- CLK_SEL_TYPE ASYNC the selection is S itself. With SYNC it is S taken at
-- each falling edge of O (it starts at 0): O leaves the old clock there,
-- stays low until the newly selected clock is low, and follows it from then
-- on, so the switch gives no short pulse.
library ieee;
use ieee.std_logic_1164.all;

entity KBUFGMUX is
    generic (
        CLK_SEL_TYPE : string := "SYNC"
    );
    port (
        I0 : in std_logic := '0';
        I1 : in std_logic := '0';
        S : in std_logic := '0';
        O : out std_logic
    );
end entity KBUFGMUX;

architecture model of KBUFGMUX is
    constant SYNC : boolean := CLK_SEL_TYPE = "SYNC";
begin
    check : process
    begin
        if CLK_SEL_TYPE /= "SYNC" and CLK_SEL_TYPE /= "ASYNC" then
            report "KBUFGMUX " & KBUFGMUX'path_name & ": CLK_SEL_TYPE = """ & CLK_SEL_TYPE &
                """ is neither SYNC nor ASYNC" severity error;
        end if;
        wait;
    end process;

    mux : process (I0, I1, S)
        variable sel_q : boolean := false;
        variable hold : boolean := false;
        variable o_q : std_logic := '0';
        variable chosen : std_logic;
    begin
        if not SYNC then
            if S = '1' then
                o_q := I1;
            else
                o_q := I0;
            end if;
        else
            if sel_q then
                chosen := I1;
            else
                chosen := I0;
            end if;
            if hold then
                -- The newly selected clock falls: O follows it from here.
                if chosen = '0' then
                    hold := false;
                end if;
            elsif o_q = '1' and chosen = '0' and (S = '1') /= sel_q then
                -- O falls: the selection changes here.
                sel_q := S = '1';
                if sel_q then
                    chosen := I1;
                else
                    chosen := I0;
                end if;
                hold := chosen /= '0';
            end if;
            if hold then
                o_q := '0';
            else
                o_q := chosen;
            end if;
        end if;
        O <= o_q;
    end process;
end architecture model;
