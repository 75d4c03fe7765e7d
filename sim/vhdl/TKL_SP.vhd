-- Simulation model of TKL_SP, the clock manager of the small devices (no
-- dynamic reconfiguration). It models the configured function and timing
-- of the outputs, not the analog behaviour of the loop (no jitter, no
-- frequency ramp while locking).
--
-- Input: CLKIN with the period INCLK_PERIOD (ns); CLKIN_HALVE = TRUE halves
-- it inside, so that the reference period Tr is twice INCLK_PERIOD.
-- Lock: LOCKED rises on the 16th rising edge of CLKIN after RST falls,
-- counting only edges that follow the previous one by INCLK_PERIOD within
-- 1 %; an edge off that period starts the count again. When CLKIN leaves
-- that period after lock, or stops for 1.5 periods, LOCKED falls, STATUS[1]
-- rises and the model stays unlocked until the next RST. RST clears LOCKED
-- at once.
-- Outputs (held low while unlocked): CLK0/90/180/270 have the period Tr,
-- shifted by 0/90/180/270 degrees, with a 50 % duty cycle (DUTY_FIX = TRUE)
-- or the measured duty cycle of CLKIN (DUTY_FIX = FALSE, CLKIN_HALVE =
-- FALSE); CLKDBL/CLKDBL180 have the period Tr / 2, CLKSLOW the period
-- Tr * CLKSLOW_DIVIDE, CLKSYN/CLKSYN180 the period Tr * CLKSYN_DIVIDE /
-- CLKSYN_MULT, all with 50 % duty cycles. The outputs start on the edge of
-- CLKIN after the one that locked, moved with PHASE_MODE FIXED by
-- PHASE_OFFSET / 256 of Tr (negative: earlier). The feedback path (CLKFB,
-- FEEDBACK_KIND) is taken as compensated: the outputs are aligned to CLKIN.
-- SKEW_TRIM, LOOP_RANGE, SYN_RANGE and WAIT_FOR_LOCK shape the silicon only;
-- the model checks their values.
library ieee;
use ieee.std_logic_1164.all;

entity TKL_SP is
    generic (
        INCLK_PERIOD : real := 10.000;
        CLKIN_HALVE : string := "FALSE";
        FEEDBACK_KIND : string := "1X";
        CLKSLOW_DIVIDE : real := 2.0;
        CLKSYN_MULT : integer := 4;
        CLKSYN_DIVIDE : integer := 1;
        SKEW_TRIM : string := "SYSTEM_SYNCHRONOUS";
        DUTY_FIX : string := "TRUE";
        WAIT_FOR_LOCK : string := "FALSE";
        LOOP_RANGE : string := "LOW";
        SYN_RANGE : string := "LOW";
        PHASE_MODE : string := "NONE";
        PHASE_OFFSET : integer := 0;
        LOC : string := ""
    );
    port (
        CLKIN : in std_logic := '0';
        CLKFB : in std_logic := '0';
        RST : in std_logic := '0';
        CLK0 : out std_logic;
        CLK90 : out std_logic;
        CLK180 : out std_logic;
        CLK270 : out std_logic;
        CLKDBL : out std_logic;
        CLKDBL180 : out std_logic;
        CLKSLOW : out std_logic;
        CLKSYN : out std_logic;
        CLKSYN180 : out std_logic;
        LOCKED : out std_logic;
        STATUS : out std_logic_vector(7 downto 0)
    );
end entity TKL_SP;

architecture model of TKL_SP is
    constant LOCK_CYCLES : integer := 16;
    constant HALVE : boolean := CLKIN_HALVE = "TRUE";
    constant FIXED_DUTY : boolean := DUTY_FIX = "TRUE" or HALVE;

    function shift_start return integer is
    begin
        if PHASE_MODE = "FIXED" then
            return PHASE_OFFSET;
        end if;
        return 0;
    end function;

    constant T_IN : time := INCLK_PERIOD * 1 ns;

    function ref_period return time is
    begin
        if HALVE then
            return 2 * T_IN;
        end if;
        return T_IN;
    end function;

    constant T_REF : time := ref_period;

    -- Lock state: 'epoch' changes whenever the outputs must start again.
    signal lock_q : std_logic := '0';
    signal stalled : std_logic := '0';
    signal run : std_logic;
    signal lost_q : std_logic := '0';
    signal epoch : natural := 0;
    signal base : time := 0 ns;
    signal high_time : time := 0 ns;
    constant SHIFT : integer := shift_start;
    signal q : std_logic_vector(0 to 8) := (others => '0');

    -- Period, rising-edge offset within the period and high time of each
    -- output: 0 CLK0, 1 CLK90, 2 CLK180, 3 CLK270, 4 CLKDBL, 5 CLKDBL180,
    -- 6 CLKSLOW, 7 CLKSYN, 8 CLKSYN180.
    function out_period(i : integer) return time is
    begin
        case i is
            when 0 to 3 => return T_REF;
            when 4 | 5 => return T_REF / 2;
            when 6 => return T_REF * CLKSLOW_DIVIDE;
            when others => return T_REF * real(CLKSYN_DIVIDE) / real(CLKSYN_MULT);
        end case;
    end function;

    function out_offset(i : integer) return time is
    begin
        case i is
            when 1 => return T_REF / 4;
            when 2 => return T_REF / 2;
            when 3 => return T_REF * 3 / 4;
            when 5 => return T_REF / 4;
            when 8 => return out_period(8) / 2;
            when others => return 0 ns;
        end case;
    end function;

    function in_list(v : string; a, b : string) return boolean is
    begin
        return v = a or v = b;
    end function;

    function is_skew_trim(v : string) return boolean is
    begin
        if v = "SYSTEM_SYNCHRONOUS" or v = "SOURCE_SYNCHRONOUS" then
            return true;
        end if;
        for n in 0 to 15 loop
            if v = integer'image(n) then
                return true;
            end if;
        end loop;
        return false;
    end function;

    function is_slow_divide(d : real) return boolean is
    begin
        return d >= 1.5 and d <= 16.0 and d * 2.0 = real(integer(d * 2.0)) and
               (d <= 7.5 or d = real(integer(d)));
    end function;
begin
    check : process
        constant NAME : string := "TKL_SP " & TKL_SP'path_name & ": ";
    begin
        if INCLK_PERIOD < 1.25 or INCLK_PERIOD > 1000.0 then
            report NAME & "INCLK_PERIOD = " & real'image(INCLK_PERIOD) & " ns is outside 1.250 to 1000.000"
                severity error;
        end if;
        if not in_list(CLKIN_HALVE, "TRUE", "FALSE") then
            report NAME & "CLKIN_HALVE = """ & CLKIN_HALVE & """ is neither TRUE nor FALSE" severity error;
        end if;
        if not in_list(FEEDBACK_KIND, "1X", "2X") and FEEDBACK_KIND /= "NONE" then
            report NAME & "FEEDBACK_KIND = """ & FEEDBACK_KIND & """ is none of 1X, 2X, NONE" severity error;
        end if;
        if not is_slow_divide(CLKSLOW_DIVIDE) then
            report NAME & "CLKSLOW_DIVIDE = " & real'image(CLKSLOW_DIVIDE) &
                " is none of 1.5 to 7.5 in halves, 8 to 16" severity error;
        end if;
        if CLKSYN_MULT < 2 or CLKSYN_MULT > 32 then
            report NAME & "CLKSYN_MULT = " & integer'image(CLKSYN_MULT) & " is outside 2 to 32" severity error;
        end if;
        if CLKSYN_DIVIDE < 1 or CLKSYN_DIVIDE > 32 then
            report NAME & "CLKSYN_DIVIDE = " & integer'image(CLKSYN_DIVIDE) & " is outside 1 to 32" severity error;
        end if;
        if not is_skew_trim(SKEW_TRIM) then
            report NAME & "SKEW_TRIM = """ & SKEW_TRIM &
                """ is none of SYSTEM_SYNCHRONOUS, SOURCE_SYNCHRONOUS, 0 to 15" severity error;
        end if;
        if not in_list(DUTY_FIX, "TRUE", "FALSE") then
            report NAME & "DUTY_FIX = """ & DUTY_FIX & """ is neither TRUE nor FALSE" severity error;
        end if;
        if not in_list(WAIT_FOR_LOCK, "TRUE", "FALSE") then
            report NAME & "WAIT_FOR_LOCK = """ & WAIT_FOR_LOCK & """ is neither TRUE nor FALSE" severity error;
        end if;
        if not in_list(LOOP_RANGE, "LOW", "HIGH") then
            report NAME & "LOOP_RANGE = """ & LOOP_RANGE & """ is neither LOW nor HIGH" severity error;
        end if;
        if not in_list(SYN_RANGE, "LOW", "HIGH") then
            report NAME & "SYN_RANGE = """ & SYN_RANGE & """ is neither LOW nor HIGH" severity error;
        end if;
        if not in_list(PHASE_MODE, "NONE", "FIXED") then
            report NAME & "PHASE_MODE = """ & PHASE_MODE & """ is neither NONE nor FIXED" severity error;
        end if;
        if PHASE_OFFSET < -255 or PHASE_OFFSET > 255 then
            report NAME & "PHASE_OFFSET = " & integer'image(PHASE_OFFSET) & " is outside -255 to 255" severity error;
        end if;
        wait;
    end process;

    -- Lock detection on CLKIN; RST clears it at once.
    lock : process (CLKIN, RST)
        variable count : integer := 0;
        variable last_rise : time := -1 ns;
    begin
        if RST = '1' then
            lock_q <= '0';
            lost_q <= '0';
            count := 0;
            last_rise := -1 ns;
            if rising_edge(RST) then
                epoch <= epoch + 1;
            end if;
        elsif rising_edge(CLKIN) then
            if last_rise >= 0 ns and (now - last_rise > T_IN * 1.01 or now - last_rise < T_IN * 0.99) then
                if lock_q = '1' then
                    lock_q <= '0';
                    lost_q <= '1';
                    epoch <= epoch + 1;
                end if;
                count := 1;
            elsif lost_q = '0' then
                count := count + 1;
            end if;
            last_rise := now;
            if lock_q = '0' and lost_q = '0' and count = LOCK_CYCLES then
                base <= now + T_REF;
                lock_q <= '1';
                epoch <= epoch + 1;
            end if;
        elsif falling_edge(CLKIN) then
            if lock_q = '0' and last_rise >= 0 ns then
                high_time <= now - last_rise;
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

    outs : for g in 0 to 8 generate
        gen : process
            variable mine : natural;
            variable k : natural;
            variable t : time;
            variable high : time;
        begin
            if lock_q /= '1' then
                wait until lock_q = '1';
            end if;
            mine := epoch;
            k := 0;
            if g <= 3 and not FIXED_DUTY then
                high := high_time;
            else
                high := out_period(g) / 2;
            end if;
            while epoch = mine loop
                t := base + out_offset(g) + k * out_period(g) + SHIFT * T_REF / 256;
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

    CLK0 <= q(0) and run;
    CLK90 <= q(1) and run;
    CLK180 <= q(2) and run;
    CLK270 <= q(3) and run;
    CLKDBL <= q(4) and run;
    CLKDBL180 <= q(5) and run;
    CLKSLOW <= q(6) and run;
    CLKSYN <= q(7) and run;
    CLKSYN180 <= q(8) and run;
    run <= lock_q and not stalled;
    LOCKED <= run;
    STATUS <= "000000" & (lost_q or stalled) & '0';
end architecture model;
