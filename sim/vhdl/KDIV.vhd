-- Simulation model of KDIV, the clock divider behind a clock-manager output.
--
-- O is I divided by DIVIDE (1 to 8) with a 50 % duty cycle: the model counts
-- both edges of I and turns O over every DIVIDE edges, so an odd divide
-- turns O over on a falling edge of I (and assumes that I itself has a 50 %
-- duty cycle). The first counted edge is a rising edge of I, on which O
-- leaves INIT_OUT; DIVIDE = 1 gives I itself (inverted when INIT_OUT = 1).
-- CE pauses the divider with O held; with DIVIDE_TYPE SYNCHRONOUS, CE is
-- sampled on the rising edges of I only, so the divider starts and stops on
-- whole cycles of I; with ASYNCHRONOUS its level counts at every edge. CLR
-- clears the divider at once: O returns to INIT_OUT and counting starts
-- again on the first rising edge of I after CLR falls.
library ieee;
use ieee.std_logic_1164.all;

entity KDIV is
    generic (
        DIVIDE : integer := 2;
        DIVIDE_TYPE : string := "SYNCHRONOUS";
        INIT_OUT : integer := 0;
        LOC : string := ""
    );
    port (
        I : in std_logic := '0';
        CE : in std_logic := '0';
        CLR : in std_logic := '0';
        O : out std_logic
    );
end entity KDIV;

architecture model of KDIV is
    constant SYNC : boolean := DIVIDE_TYPE = "SYNCHRONOUS";
    function init_level return std_logic is
    begin
        if INIT_OUT = 1 then
            return '1';
        end if;
        return '0';
    end function;
begin
    check : process
    begin
        if DIVIDE < 1 or DIVIDE > 8 then
            report "KDIV " & KDIV'path_name & ": DIVIDE = " & integer'image(DIVIDE) & " is outside 1 to 8"
                severity error;
        end if;
        if DIVIDE_TYPE /= "SYNCHRONOUS" and DIVIDE_TYPE /= "ASYNCHRONOUS" then
            report "KDIV " & KDIV'path_name & ": DIVIDE_TYPE = """ & DIVIDE_TYPE &
                """ is neither SYNCHRONOUS nor ASYNCHRONOUS" severity error;
        end if;
        if INIT_OUT /= 0 and INIT_OUT /= 1 then
            report "KDIV " & KDIV'path_name & ": INIT_OUT = " & integer'image(INIT_OUT) & " is neither 0 nor 1"
                severity error;
        end if;
        wait;
    end process;

    counter : process (I, CLR)
        variable o_q : std_logic := init_level;
        variable armed : boolean := false;
        variable ce_q : boolean := false;
        variable count : integer := 0;
        variable en : boolean;
    begin
        if CLR = '1' then
            o_q := init_level;
            armed := false;
            ce_q := false;
            count := 0;
        elsif I'event and (I = '1' or I = '0') then
            if I = '1' then
                ce_q := CE = '1';
            end if;
            if SYNC then
                en := ce_q;
            else
                en := CE = '1';
            end if;
            if en then
                if not armed then
                    -- Counting starts on a rising edge only.
                    if I = '1' then
                        armed := true;
                        count := 0;
                        o_q := not o_q;
                    end if;
                else
                    count := count + 1;
                    if count >= DIVIDE then
                        count := 0;
                        o_q := not o_q;
                    end if;
                end if;
            end if;
        end if;
        O <= o_q;
    end process;
end architecture model;
