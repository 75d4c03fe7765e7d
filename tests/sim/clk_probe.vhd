-- Measures one clock of a model from the rising edge of START on: it skips
-- the first rising edge (a clock may start with a short pulse), then takes
-- the period and the high time of the next cycle and the time of its rising
-- edge after START modulo the period. Each is compared with the expected
-- value within TOL; OK rises when all three match, and a FAIL line names
-- what did not. A negative OFFSET leaves the phase unchecked.
library ieee;
use ieee.std_logic_1164.all;

entity clk_probe is
    generic (
        NAME : string := "clk";
        PERIOD : time := 1 ns;
        HIGH : time := 500 ps;
        OFFSET : time := 0 ps;
        TOL : time := 1 ps
    );
    port (
        clk : in std_logic;
        start : in std_logic;
        ok : out boolean := false
    );
end entity clk_probe;

architecture probe of clk_probe is
begin
    process
        variable t0, r1, f1, r2, phase : time;
        function close(a, b : time) return boolean is
        begin
            return abs (a - b) <= TOL;
        end function;
    begin
        wait until rising_edge(start);
        t0 := now;
        wait until rising_edge(clk);
        wait until rising_edge(clk);
        r1 := now;
        wait until falling_edge(clk);
        f1 := now;
        wait until rising_edge(clk);
        r2 := now;
        phase := (r1 - t0) mod PERIOD;
        -- An offset just below a whole period is the same phase as zero.
        if PERIOD - phase <= TOL then
            phase := phase - PERIOD;
        end if;
        if not close(r2 - r1, PERIOD) then
            report "FAIL: " & NAME & " period " & time'image(r2 - r1) & ", expected " & time'image(PERIOD);
        elsif not close(f1 - r1, HIGH) then
            report "FAIL: " & NAME & " high time " & time'image(f1 - r1) & ", expected " & time'image(HIGH);
        elsif OFFSET >= 0 ps and not close(phase, OFFSET) then
            report "FAIL: " & NAME & " rising edge " & time'image(phase) & " after start (mod period), expected " &
                time'image(OFFSET);
        else
            ok <= true;
        end if;
        wait;
    end process;
end architecture probe;
