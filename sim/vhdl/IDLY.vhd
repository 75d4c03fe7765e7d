-- Simulation model of IDLY, an input delay line of 32 taps. One tap is
-- 1 / (64 x REF_FREQ) (REF_FREQ in MHz): 78.125 ps at 200 MHz. O follows I
-- after the current number of taps (transport delay: pulses shorter than the
-- delay pass unchanged).
--
-- DELAY_KIND:
--   DEFAULT   no delay (0 taps; DELAY_TAPS must be 0)
--   FIXED     DELAY_TAPS taps
--   VARIABLE  starts at DELAY_TAPS; on a rising edge of C, RST reloads
--             DELAY_TAPS, else CE steps one tap up (INC=1) or down (INC=0),
--             wrapping between 31 and 0
--   LOADABLE  as VARIABLE, but RST loads TAPS_IN
-- TAPS_OUT shows the current number of taps. TRAFFIC_KIND does not change
-- the delay.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity IDLY is
  generic (
    DELAY_KIND   : string  := "FIXED";
    DELAY_TAPS   : integer := 0;
    REF_FREQ     : real    := 200.0;
    TRAFFIC_KIND : string  := "DATA";
    LOC          : string  := ""
  );
  port (
    I        : in  std_logic := '0';
    C        : in  std_logic := '0';
    CE       : in  std_logic := '0';
    INC      : in  std_logic := '0';
    RST      : in  std_logic := '0';
    TAPS_IN  : in  std_logic_vector(4 downto 0) := (others => '0');
    O        : out std_logic;
    TAPS_OUT : out std_logic_vector(4 downto 0)
  );
end entity IDLY;

architecture model of IDLY is
  constant TAP : time := 1 us / (64.0 * REF_FREQ);

  function initial_taps return unsigned is
  begin
    if DELAY_KIND = "DEFAULT" or DELAY_TAPS < 0 or DELAY_TAPS > 31 then
      return to_unsigned(0, 5);
    end if;
    return to_unsigned(DELAY_TAPS, 5);
  end function;

  signal taps : unsigned(4 downto 0) := initial_taps;
  signal o_s  : std_logic := '0';
begin
  O        <= o_s;
  TAPS_OUT <= std_logic_vector(taps);

  check : process
  begin
    if DELAY_KIND /= "DEFAULT" and DELAY_KIND /= "FIXED" and DELAY_KIND /= "VARIABLE" and
       DELAY_KIND /= "LOADABLE" then
      report IDLY'path_name & ": DELAY_KIND """ & DELAY_KIND &
        """ is not DEFAULT, FIXED, VARIABLE or LOADABLE" severity error;
    end if;
    if DELAY_TAPS < 0 or DELAY_TAPS > 31 then
      report IDLY'path_name & ": DELAY_TAPS " & integer'image(DELAY_TAPS) & " is outside 0 to 31" severity error;
    end if;
    if DELAY_KIND = "DEFAULT" and DELAY_TAPS /= 0 then
      report IDLY'path_name & ": DELAY_KIND DEFAULT has no delay taps, DELAY_TAPS " &
        integer'image(DELAY_TAPS) & " is not applied" severity error;
    end if;
    if REF_FREQ < 190.0 or REF_FREQ > 210.0 then
      report IDLY'path_name & ": REF_FREQ " & real'image(REF_FREQ) & " MHz is outside 190 to 210 MHz"
        severity error;
    end if;
    if TRAFFIC_KIND /= "DATA" and TRAFFIC_KIND /= "CLOCK" then
      report IDLY'path_name & ": TRAFFIC_KIND """ & TRAFFIC_KIND & """ is not DATA or CLOCK" severity error;
    end if;
    wait;
  end process;

  -- Transport delay: every change of I is scheduled on its own.
  delay_line : process (I)
  begin
    o_s <= transport I after to_integer(taps) * TAP;
  end process;

  control : process (C)
  begin
    if rising_edge(C) and (DELAY_KIND = "VARIABLE" or DELAY_KIND = "LOADABLE") then
      if RST = '1' then
        if DELAY_KIND = "LOADABLE" then
          taps <= unsigned(TAPS_IN);
        else
          taps <= to_unsigned(DELAY_TAPS mod 32, 5);
        end if;
      elsif CE = '1' then
        if INC = '1' then
          taps <= taps + 1;
        else
          taps <= taps - 1;
        end if;
      end if;
    end if;
  end process;
end architecture model;
