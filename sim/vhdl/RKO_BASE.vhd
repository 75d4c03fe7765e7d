-- Simulation model of RKO_BASE, the phase-locked loop with the basic ports.
-- It models the configured function and timing of the
-- outputs, not the analog behaviour of the loop (no jitter, no frequency
-- ramp while locking).
--
-- Input: CLKIN with the period INCLK_PERIOD (ns).
-- Lock: LOCKED rises on the 32nd rising edge of CLKIN after RST
-- falls, counting only edges that follow the previous one by its period
-- within 1 %; an edge off that period starts the count again. When the input
-- leaves its period after lock, or stops for 1.5 periods, LOCKED falls; with RELOCK_RESET = TRUE the
-- model locks again on its own, with FALSE it waits for the next RST. RST
-- clears LOCKED at once.
-- Outputs (held low while unlocked), with Tin the input period and the VCO
-- period Tv = Tin * REFCLK_DIV / FBCLKOUT_MULT: CLKOUTn has the period
-- Tv * CLKOUTn_DIVIDE, the high time CLKOUTn_DUTY of it, and its rising edge
-- CLKOUTn_PHASE degrees of its period after the input edge at which LOCKED
-- rose. CLKFBOUT has the period Tin * REFCLK_DIV, a 50 % duty cycle and is
-- aligned to that input edge: the feedback path is taken as compensated
-- (CLKFBOUT through CLKFBIN, no delay), so a FBCLKOUT_PHASE moves every
-- CLKOUTn earlier by that phase of the CLKFBOUT period instead. CLKFBIN is
-- not watched.
-- LOOP_BW and DESKEW_PATH shape the silicon only; the model checks their
-- values.
library ieee;
use ieee.std_logic_1164.all;

entity RKO_BASE is
    generic (
        INCLK_PERIOD : real := 10.000;
        LOOP_BW : string := "OPTIMIZED";
        DESKEW_PATH : string := "SYSTEM_SYNCHRONOUS";
        REFCLK_DIV : integer := 1;
        FBCLKOUT_MULT : integer := 6;
        FBCLKOUT_PHASE : real := 0.000;
        CLKOUT0_DIVIDE : integer := 6;
        CLKOUT0_PHASE : real := 0.000;
        CLKOUT0_DUTY : real := 0.50;
        CLKOUT1_DIVIDE : integer := 3;
        CLKOUT1_PHASE : real := 0.000;
        CLKOUT1_DUTY : real := 0.50;
        CLKOUT2_DIVIDE : integer := 12;
        CLKOUT2_PHASE : real := 0.000;
        CLKOUT2_DUTY : real := 0.50;
        CLKOUT3_DIVIDE : integer := 4;
        CLKOUT3_PHASE : real := 0.000;
        CLKOUT3_DUTY : real := 0.50;
        CLKOUT4_DIVIDE : integer := 24;
        CLKOUT4_PHASE : real := 0.000;
        CLKOUT4_DUTY : real := 0.50;
        CLKOUT5_DIVIDE : integer := 2;
        CLKOUT5_PHASE : real := 0.000;
        CLKOUT5_DUTY : real := 0.50;
        RELOCK_RESET : string := "FALSE";
        LOC : string := ""
    );
    port (
        CLKIN : in std_logic := '0';
        CLKFBIN : in std_logic := '0';
        RST : in std_logic := '0';
        CLKFBOUT : out std_logic;
        CLKOUT0 : out std_logic;
        CLKOUT1 : out std_logic;
        CLKOUT2 : out std_logic;
        CLKOUT3 : out std_logic;
        CLKOUT4 : out std_logic;
        CLKOUT5 : out std_logic;
        LOCKED : out std_logic
    );
end entity RKO_BASE;

architecture model of RKO_BASE is
    constant LOCK_CYCLES : integer := 32;
    constant RELOCK : boolean := RELOCK_RESET = "TRUE";

    type int_list is array (0 to 5) of integer;
    type real_list is array (0 to 5) of real;
    constant DIVIDES : int_list := (CLKOUT0_DIVIDE, CLKOUT1_DIVIDE, CLKOUT2_DIVIDE, CLKOUT3_DIVIDE, CLKOUT4_DIVIDE,
                                    CLKOUT5_DIVIDE);
    constant PHASES : real_list := (CLKOUT0_PHASE, CLKOUT1_PHASE, CLKOUT2_PHASE, CLKOUT3_PHASE, CLKOUT4_PHASE,
                                    CLKOUT5_PHASE);
    constant DUTIES : real_list := (CLKOUT0_DUTY, CLKOUT1_DUTY, CLKOUT2_DUTY, CLKOUT3_DUTY, CLKOUT4_DUTY,
                                    CLKOUT5_DUTY);

    -- Lock state: 'epoch' changes whenever the outputs must start again.
    signal lock_q : std_logic := '0';
    signal stalled : std_logic := '0';
    signal run : std_logic;
    signal epoch : natural := 0;
    signal base : time := 0 ns;
    constant T_IN : time := INCLK_PERIOD * 1 ns;
    signal q : std_logic_vector(0 to 6) := (others => '0');

    -- Period, rising-edge offset within the period and high time of each
    -- output for the input period tin: 0 to 5 CLKOUT0 to CLKOUT5, 6 CLKFBOUT.
    function out_period(i : integer; tin : time) return time is
    begin
        if i = 6 then
            return tin * REFCLK_DIV;
        end if;
        return tin * REFCLK_DIV * DIVIDES(i) / FBCLKOUT_MULT;
    end function;

    function out_offset(i : integer; tin : time) return time is
        variable shift : time;
    begin
        if i = 6 then
            return 0 ns;
        end if;
        shift := out_period(i, tin) * (PHASES(i) / 360.0) - out_period(6, tin) * (FBCLKOUT_PHASE / 360.0);
        return shift mod out_period(i, tin);
    end function;

    function in_list(v : string; a, b, c : string) return boolean is
    begin
        return v = a or v = b or v = c;
    end function;
begin
    check : process
        constant NAME : string := "RKO_BASE " & RKO_BASE'path_name & ": ";
    begin
        if INCLK_PERIOD < 1.25 or INCLK_PERIOD > 100.0 then
            report NAME & "INCLK_PERIOD = " & real'image(INCLK_PERIOD) & " ns is outside 1.250 to 100.000"
                severity error;
        end if;
        if not in_list(LOOP_BW, "OPTIMIZED", "HIGH", "LOW") then
            report NAME & "LOOP_BW = """ & LOOP_BW & """ is none of OPTIMIZED, HIGH, LOW" severity error;
        end if;
        if not in_list(DESKEW_PATH, "SYSTEM_SYNCHRONOUS", "SOURCE_SYNCHRONOUS", "INTERNAL") and
           DESKEW_PATH /= "EXTERNAL" then
            report NAME & "DESKEW_PATH = """ & DESKEW_PATH &
                """ is none of SYSTEM_SYNCHRONOUS, SOURCE_SYNCHRONOUS, INTERNAL, EXTERNAL" severity error;
        end if;
        if not in_list(RELOCK_RESET, "TRUE", "FALSE", "FALSE") then
            report NAME & "RELOCK_RESET = """ & RELOCK_RESET & """ is neither TRUE nor FALSE" severity error;
        end if;
        if REFCLK_DIV < 1 or REFCLK_DIV > 56 then
            report NAME & "REFCLK_DIV = " & integer'image(REFCLK_DIV) & " is outside 1 to 56" severity error;
        end if;
        if FBCLKOUT_MULT < 2 or FBCLKOUT_MULT > 64 then
            report NAME & "FBCLKOUT_MULT = " & integer'image(FBCLKOUT_MULT) & " is outside 2 to 64" severity error;
        end if;
        if FBCLKOUT_PHASE < 0.0 or FBCLKOUT_PHASE > 360.0 then
            report NAME & "FBCLKOUT_PHASE = " & real'image(FBCLKOUT_PHASE) & " is outside 0.000 to 360.000"
                severity error;
        end if;
        for n in 0 to 5 loop
            if DIVIDES(n) < 1 or DIVIDES(n) > 128 then
                report NAME & "CLKOUT" & integer'image(n) & "_DIVIDE = " & integer'image(DIVIDES(n)) &
                    " is outside 1 to 128" severity error;
            end if;
            if PHASES(n) < -360.0 or PHASES(n) > 360.0 then
                report NAME & "CLKOUT" & integer'image(n) & "_PHASE = " & real'image(PHASES(n)) &
                    " is outside -360.000 to 360.000" severity error;
            end if;
            if DUTIES(n) < 0.01 or DUTIES(n) > 0.99 then
                report NAME & "CLKOUT" & integer'image(n) & "_DUTY = " & real'image(DUTIES(n)) &
                    " is outside 0.01 to 0.99" severity error;
            end if;
        end loop;
        wait;
    end process;

    -- Lock detection on CLKIN; RST clears it at once.
    lock : process (CLKIN, RST)
        variable count : integer := 0;
        variable last_rise : time := -1 ns;
        variable lost : boolean := false;
    begin
        if RST = '1' then
            lock_q <= '0';
            lost := false;
            count := 0;
            last_rise := -1 ns;
            if rising_edge(RST) then
                epoch <= epoch + 1;
            end if;
        elsif rising_edge(CLKIN) then
            if last_rise >= 0 ns and (now - last_rise > T_IN * 1.01 or now - last_rise < T_IN * 0.99) then
                if lock_q = '1' then
                    lock_q <= '0';
                    epoch <= epoch + 1;
                end if;
                lost := not RELOCK;
                count := 1;
            elsif not lost then
                count := count + 1;
            end if;
            last_rise := now;
            if lock_q = '0' and not lost and count = LOCK_CYCLES then
                base <= now;
                lock_q <= '1';
                epoch <= epoch + 1;
            end if;
        end if;
    end process;

    -- A stopped input: no rising edge for 1.5 input periods while locked
    -- drops LOCKED and the outputs at once; the late edge, when it comes,
    -- counts as an input off its period.
    watchdog : process
    begin
        stalled <= '0';
        if lock_q /= '1' then
            wait until lock_q = '1';
        end if;
        loop
            wait until rising_edge(CLKIN) or lock_q /= '1' for T_IN * 1.5;
            exit when lock_q /= '1';
            if not (rising_edge(CLKIN)) then
                stalled <= '1';
                wait until lock_q /= '1';
                exit;
            end if;
        end loop;
    end process;

    outs : for g in 0 to 6 generate
        gen : process
            variable mine : natural;
            variable k : natural;
            variable t, high, period, offset : time;
        begin
            if lock_q /= '1' then
                wait until lock_q = '1';
            end if;
            mine := epoch;
            k := 0;
            period := out_period(g, T_IN);
            offset := out_offset(g, T_IN);
            if g = 6 then
                high := period / 2;
            else
                high := period * DUTIES(g);
            end if;
            while epoch = mine loop
                t := base + offset + k * period;
                if t > now then
                    wait until epoch /= mine for t - now;
                end if;
                if epoch = mine then
                    q(g) <= '1';
                    if t + high > now then
                        wait until epoch /= mine for t + high - now;
                    end if;
                    q(g) <= '0';
                end if;
                k := k + 1;
            end loop;
            q(g) <= '0';
        end process;
    end generate;

    CLKOUT0 <= q(0) and run;
    CLKOUT1 <= q(1) and run;
    CLKOUT2 <= q(2) and run;
    CLKOUT3 <= q(3) and run;
    CLKOUT4 <= q(4) and run;
    CLKOUT5 <= q(5) and run;
    CLKFBOUT <= q(6) and run;
    run <= lock_q and not stalled;
    LOCKED <= run;
end architecture model;
