-- Simulation model of RKO_ADV, the phase-locked loop with two inputs and a
-- reconfiguration port. It models the configured function and timing of the
-- outputs, not the analog behaviour of the loop (no jitter, no frequency
-- ramp while locking).
--
-- Input: INSEL high selects CLKIN1 (period INCLK1_PERIOD, ns), low CLKIN2
-- (INCLK2_PERIOD); a change of INSEL starts locking again.
-- Lock: LOCKED rises on the 32nd rising edge of the selected input after RST
-- falls, counting only edges that follow the previous one by its period
-- within 1 %; an edge off that period starts the count again. When the input
-- leaves its period after lock, or stops for 1.5 periods, LOCKED falls; with RELOCK_RESET = TRUE the
-- model locks again on its own, with FALSE it waits for the next RST. RST
-- clears LOCKED at once.
-- Outputs (held low while unlocked), with Tin the input period and the VCO
-- period Tv = Tin * REFCLK_DIV / CLKFBOUT_MULT: CLKOUTn has the period
-- Tv * CLKOUTn_DIVIDE, the high time CLKOUTn_DUTY of it, and its rising edge
-- CLKOUTn_PHASE degrees of its period after the input edge at which LOCKED
-- rose. CLKFBOUT has the period Tin * REFCLK_DIV, a 50 % duty cycle and is
-- aligned to that input edge: the feedback path is taken as compensated
-- (CLKFBOUT through CLKFBIN, no delay), so a CLKFBOUT_PHASE moves every
-- CLKOUTn earlier by that phase of the CLKFBOUT period instead. CLKFBIN is
-- not watched.
-- LOOP_BW and DESKEW_PATH shape the silicon only; the model checks their
-- values. HOLD and the reconfiguration port are not modelled: CFG_DOUT and
-- CFG_RDY stay low, and HOLD or CFG_EN high is reported as an error.
library ieee;
use ieee.std_logic_1164.all;

entity RKO_ADV is
    generic (
        INCLK1_PERIOD : real := 10.000;
        INCLK2_PERIOD : real := 10.000;
        LOOP_BW : string := "OPTIMIZED";
        DESKEW_PATH : string := "SYSTEM_SYNCHRONOUS";
        REFCLK_DIV : integer := 1;
        CLKFBOUT_MULT : integer := 6;
        CLKFBOUT_PHASE : real := 0.000;
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
        CLKIN1 : in std_logic := '0';
        CLKIN2 : in std_logic := '0';
        INSEL : in std_logic := '0';
        CLKFBIN : in std_logic := '0';
        RST : in std_logic := '0';
        CLKFBOUT : out std_logic;
        CLKOUT0 : out std_logic;
        CLKOUT1 : out std_logic;
        CLKOUT2 : out std_logic;
        CLKOUT3 : out std_logic;
        CLKOUT4 : out std_logic;
        CLKOUT5 : out std_logic;
        LOCKED : out std_logic;
        HOLD : in std_logic := '0';
        CFG_CLK : in std_logic := '0';
        CFG_EN : in std_logic := '0';
        CFG_WE : in std_logic := '0';
        CFG_ADDR : in std_logic_vector(4 downto 0) := (others => '0');
        CFG_DIN : in std_logic_vector(15 downto 0) := (others => '0');
        CFG_DOUT : out std_logic_vector(15 downto 0);
        CFG_RDY : out std_logic
    );
end entity RKO_ADV;

architecture model of RKO_ADV is
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
    signal t_in : time := INCLK1_PERIOD * 1 ns;
    signal q : std_logic_vector(0 to 6) := (others => '0');

    -- Period, rising-edge offset within the period and high time of each
    -- output for the input period tin: 0 to 5 CLKOUT0 to CLKOUT5, 6 CLKFBOUT.
    function out_period(i : integer; tin : time) return time is
    begin
        if i = 6 then
            return tin * REFCLK_DIV;
        end if;
        return tin * REFCLK_DIV * DIVIDES(i) / CLKFBOUT_MULT;
    end function;

    function out_offset(i : integer; tin : time) return time is
        variable shift : time;
    begin
        if i = 6 then
            return 0 ns;
        end if;
        shift := out_period(i, tin) * (PHASES(i) / 360.0) - out_period(6, tin) * (CLKFBOUT_PHASE / 360.0);
        return shift mod out_period(i, tin);
    end function;

    function in_list(v : string; a, b, c : string) return boolean is
    begin
        return v = a or v = b or v = c;
    end function;
begin
    check : process
        constant NAME : string := "RKO_ADV " & RKO_ADV'path_name & ": ";
    begin
        if INCLK1_PERIOD < 1.25 or INCLK1_PERIOD > 100.0 then
            report NAME & "INCLK1_PERIOD = " & real'image(INCLK1_PERIOD) & " ns is outside 1.250 to 100.000"
                severity error;
        end if;
        if INCLK2_PERIOD < 1.25 or INCLK2_PERIOD > 100.0 then
            report NAME & "INCLK2_PERIOD = " & real'image(INCLK2_PERIOD) & " ns is outside 1.250 to 100.000"
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
        if CLKFBOUT_MULT < 2 or CLKFBOUT_MULT > 64 then
            report NAME & "CLKFBOUT_MULT = " & integer'image(CLKFBOUT_MULT) & " is outside 2 to 64" severity error;
        end if;
        if CLKFBOUT_PHASE < 0.0 or CLKFBOUT_PHASE > 360.0 then
            report NAME & "CLKFBOUT_PHASE = " & real'image(CLKFBOUT_PHASE) & " is outside 0.000 to 360.000"
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

    -- Lock detection on the selected input; RST clears it at once.
    lock : process (CLKIN1, CLKIN2, RST)
        variable count : integer := 0;
        variable last_rise : time := -1 ns;
        variable sel_last : boolean := true;
        variable lost : boolean := false;
        variable sel : boolean;
        variable period : time;
    begin
        sel := INSEL /= '0';
        if RST = '1' then
            lock_q <= '0';
            lost := false;
            count := 0;
            last_rise := -1 ns;
            if rising_edge(RST) then
                epoch <= epoch + 1;
            end if;
        elsif (sel and rising_edge(CLKIN1)) or (not sel and rising_edge(CLKIN2)) then
            if sel /= sel_last then
                -- Another input: lock onto it from this edge on.
                sel_last := sel;
                if lock_q = '1' then
                    lock_q <= '0';
                    epoch <= epoch + 1;
                end if;
                lost := false;
                count := 0;
                last_rise := -1 ns;
            end if;
            if sel then
                period := INCLK1_PERIOD * 1 ns;
            else
                period := INCLK2_PERIOD * 1 ns;
            end if;
            if last_rise >= 0 ns and (now - last_rise > period * 1.01 or now - last_rise < period * 0.99) then
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
                t_in <= period;
                base <= now;
                lock_q <= '1';
                epoch <= epoch + 1;
            end if;
        end if;
    end process;

    unmodelled : process (HOLD, CFG_EN)
    begin
        if rising_edge(HOLD) then
            report "RKO_ADV " & RKO_ADV'path_name & ": HOLD is not modelled (high at " & time'image(now) & ")"
                severity error;
        end if;
        if rising_edge(CFG_EN) then
            report "RKO_ADV " & RKO_ADV'path_name & ": the reconfiguration port is not modelled (CFG_EN high at " &
                time'image(now) & ")" severity error;
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
            wait until (INSEL /= '0' and rising_edge(CLKIN1)) or (INSEL = '0' and rising_edge(CLKIN2)) or lock_q /= '1' for t_in * 1.5;
            exit when lock_q /= '1';
            if not ((INSEL /= '0' and rising_edge(CLKIN1)) or (INSEL = '0' and rising_edge(CLKIN2))) then
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
            period := out_period(g, t_in);
            offset := out_offset(g, t_in);
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
    CFG_DOUT <= (others => '0');
    CFG_RDY <= '0';
end architecture model;
