-- Simulation model of IDLYCTRL, the controller that calibrates the taps of the
-- input delays (IDLY) against a reference clock.
--
-- READY is low while RST is high. After RST falls it rises on the
-- READY_CYCLES-th rising edge of REFCLK whose period lies within the range a
-- delay tap is specified for (REFCLK between 190 and 210 MHz, see IDLY's
-- REF_FREQ). A period outside that range drops READY and restarts the count,
-- and is reported once. A stopped REFCLK is not detected.
library ieee;
use ieee.std_logic_1164.all;

entity IDLYCTRL is
  generic (
    LOC : string := ""
  );
  port (
    REFCLK : in  std_logic := '0';
    RST    : in  std_logic := '0';
    READY  : out std_logic
  );
end entity IDLYCTRL;

architecture model of IDLYCTRL is
  constant READY_CYCLES : integer := 16;
  -- Period limits: 1 / 210 MHz and 1 / 190 MHz, widened by 0.1 % for clocks
  -- whose half period a testbench rounds to whole picoseconds.
  constant MIN_PERIOD   : time    := 1 us / 210 * 0.999;
  constant MAX_PERIOD   : time    := 1 us / 190 * 1.001;
  signal ready_s        : std_logic := '0';
begin
  READY <= ready_s;

  process (REFCLK, RST)
    variable good      : integer := 0;
    variable last_edge : time    := -1 ps;
    variable period    : time;
    variable reported  : boolean := false;
  begin
    if RST = '1' then
      ready_s   <= '0';
      good      := 0;
      last_edge := -1 ps;
    elsif rising_edge(REFCLK) then
      if last_edge >= 0 ps then
        period := now - last_edge;
        if period < MIN_PERIOD or period > MAX_PERIOD then
          if not reported then
            report IDLYCTRL'path_name & ": REFCLK period " & time'image(period) &
              " outside " & time'image(MIN_PERIOD) & " to " & time'image(MAX_PERIOD) &
              "; READY stays low" severity error;
          end if;
          reported := true;
          good     := 0;
          ready_s  <= '0';
        elsif good < READY_CYCLES then
          good := good + 1;
          if good = READY_CYCLES then
            ready_s <= '1';
          end if;
        end if;
      end if;
      last_edge := now;
    end if;
  end process;
end architecture model;
