-- Delay taps of IDLY: measures the delay of an edge through a fixed delay and
-- through a variable one stepped up, down and reset, against
-- taps / (64 x REF_FREQ); and IDLYCTRL's READY after reset.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity tb_idly is
  -- The reference clock in tenths of a MHz (the simulator sets integer generics only).
  generic (REF_FREQ_X10 : integer := 2000; TAPS : integer := 6);
end entity tb_idly;

architecture test of tb_idly is
  constant REF_FREQ : real := real(REF_FREQ_X10) / 10.0;
  constant TAP : time := 1 us / (64.0 * REF_FREQ);
  signal i, c, ce, inc, rst, refclk : std_logic := '0';
  signal ctrl_rst                    : std_logic := '1';
  signal o_fixed, o_var, ready       : std_logic;
  signal taps_var                    : std_logic_vector(4 downto 0);
  signal done                        : boolean := false;
begin
  fixed_dly : entity work.IDLY
    generic map (DELAY_KIND => "FIXED", DELAY_TAPS => TAPS, REF_FREQ => REF_FREQ)
    port map (I => i, C => c, CE => '1', INC => '1', RST => '0', TAPS_IN => "00000", O => o_fixed,
              TAPS_OUT => open);
  var_dly : entity work.IDLY
    generic map (DELAY_KIND => "VARIABLE", DELAY_TAPS => TAPS, REF_FREQ => REF_FREQ)
    port map (I => i, C => c, CE => ce, INC => inc, RST => rst, TAPS_IN => "00000", O => o_var,
              TAPS_OUT => taps_var);
  ctrl : entity work.IDLYCTRL port map (REFCLK => refclk, RST => ctrl_rst, READY => ready);

  refclk <= not refclk after 0.5 us / REF_FREQ when not done;

  main : process
    variable errors : integer := 0;
    variable t0     : time;

    -- Measures the delay of an edge of I through the fixed (0) or variable (1) delay.
    procedure expect_delay(which : integer; n : integer) is
      variable got : time;
    begin
      t0 := now;
      i  <= not i;
      if which = 0 then
        wait on o_fixed;
      else
        wait on o_var;
      end if;
      got := now - t0;
      if got /= n * TAP then
        report "delay of " & integer'image(n) & " taps: " & time'image(got) & ", expected " &
          time'image(n * TAP);
        errors := errors + 1;
      end if;
      wait for 5 ns;
    end procedure;

    -- One step of the variable delay on a rising edge of C.
    procedure step(s_ce, s_inc, s_rst : std_logic) is
    begin
      ce <= s_ce; inc <= s_inc; rst <= s_rst;
      wait for 100 ps; c <= '1';
      wait for 100 ps; c <= '0';
      ce <= '0'; rst <= '0';
      wait for 1 ps;
    end procedure;
  begin
    wait for 1 ns;
    expect_delay(0, TAPS);
    expect_delay(0, TAPS);
    expect_delay(1, TAPS);
    step('1', '1', '0'); step('1', '1', '0'); step('1', '1', '0');
    if to_integer(unsigned(taps_var)) /= TAPS + 3 then
      report "TAPS_OUT " & integer'image(to_integer(unsigned(taps_var))) & " after three steps up";
      errors := errors + 1;
    end if;
    expect_delay(1, TAPS + 3);
    step('1', '0', '0');
    expect_delay(1, TAPS + 2);
    step('0', '1', '0');
    expect_delay(1, TAPS + 2);
    step('0', '0', '1');
    expect_delay(1, TAPS);

    -- READY after 16 reference cycles of the right period, not before.
    wait until falling_edge(refclk);
    ctrl_rst <= '0';
    for k in 1 to 15 loop
      wait until rising_edge(refclk);
    end loop;
    wait for 1 ps;
    if ready /= '0' then
      report "READY after 15 cycles";
      errors := errors + 1;
    end if;
    wait until rising_edge(refclk);
    wait until rising_edge(refclk);
    wait for 1 ps;
    if ready /= '1' then
      report "READY still low after 17 cycles";
      errors := errors + 1;
    end if;
    ctrl_rst <= '1';
    wait for 1 ps;
    if ready /= '0' then
      report "READY high in reset";
      errors := errors + 1;
    end if;
    if errors = 0 then
      report "PASS: REF_FREQ " & real'image(REF_FREQ) & " MHz, " & integer'image(TAPS) & " taps";
    else
      report "FAIL: REF_FREQ " & real'image(REF_FREQ) & " MHz, " & integer'image(TAPS) & " taps, " &
        integer'image(errors) & " errors";
    end if;
    done <= true;
    wait;
  end process;
end architecture test;
