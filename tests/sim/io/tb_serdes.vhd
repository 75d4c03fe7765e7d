-- Round trip OSER -> ISER of random words: checks that every word comes back
-- after LATENCY word clocks and that the line carries each word bit 0 first.
-- The receiver's clocks lag by half a bit, so it samples mid-bit.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use ieee.math_real.all;

entity tb_serdes is
  -- KIND is the CAPTURE_KIND: MEMORY takes the second bit at CLKB.
  -- SLIP is the number of ALIGN pulses (WORD_ALIGN TRUE) after reset.
  generic (W : integer := 8; RATE : string := "DDR"; KIND : string := "NETWORKING"; SLIP : integer := 0);
end entity tb_serdes;

architecture test of tb_serdes is
  constant LATENCY      : integer := 2;  -- CLKWORD edges from D taken to Q stable
  constant TB           : time    := 1000 ps;
  constant BITS_PER_CLK : integer := 1 + boolean'pos(RATE = "DDR");
  constant NCLK         : integer := W / BITS_PER_CLK;  -- CLK cycles a word
  constant WORDS        : integer := 40;
  type words_t is array (0 to WORDS + 8) of std_logic_vector(9 downto 0);
  type bits_t is array (0 to (WORDS + 8) * 10) of std_logic;

  signal clk, clkword, rclk, rclkword : std_logic := '0';
  signal rst              : std_logic := '1';
  signal align            : std_logic := '0';
  signal tx_word          : std_logic_vector(9 downto 0) := (others => '0');
  signal q_master, q_slave : std_logic_vector(7 downto 0);
  signal line, casc1, casc2, rcasc1, rcasc2, rclkb : std_logic;
  signal done             : boolean := false;
  function word_align return string is
  begin
    if SLIP > 0 then return "TRUE"; end if;
    return "FALSE";
  end function;
  signal sent, got          : words_t;
  signal bits               : bits_t;
  signal nsent, ngot, nbits : integer := 0;
begin
  clk <= not clk after TB * BITS_PER_CLK / 2 when not done;
  divide : process (clk)
    variable cnt : integer := 0;
  begin
    if rising_edge(clk) then
      cnt := (cnt + 1) mod NCLK;
      if cnt < (NCLK + 1) / 2 then clkword <= '1'; else clkword <= '0'; end if;
    end if;
  end process;
  rclk     <= transport clk after TB / 2;
  rclkword <= transport clkword after TB / 2;
  rclkb    <= not rclk;

  tx_m : entity work.OSER
    generic map (DATA_RATE_OUT => RATE, DATA_WIDTH => W, CASCADE_ROLE => "MASTER")
    port map (CLK => clk, CLKWORD => clkword, D => tx_word(7 downto 0), T => "0000", DOUT_EN => '1',
              TOUT_EN => '0', RST => rst, CASC_DIN1 => casc1, CASC_DIN2 => casc2, DOUT => line,
              TOUT => open, CASC_DOUT1 => open, CASC_DOUT2 => open);
  tx_s : entity work.OSER
    generic map (DATA_RATE_OUT => RATE, DATA_WIDTH => W, CASCADE_ROLE => "SLAVE")
    port map (CLK => clk, CLKWORD => clkword, D => "000000" & tx_word(9 downto 8), T => "0000",
              DOUT_EN => '1', TOUT_EN => '0', RST => rst, CASC_DIN1 => '0', CASC_DIN2 => '0',
              DOUT => open, TOUT => open, CASC_DOUT1 => casc1, CASC_DOUT2 => casc2);
  rx_m : entity work.ISER
    generic map (CAPTURE_KIND => KIND, DATA_RATE => RATE, DATA_WIDTH => W, CASCADE_ROLE => "MASTER",
                 WORD_ALIGN => word_align)
    port map (D => line, CLK => rclk, CLKB => rclkb, CLKWORD => rclkword, CE => '1', RST => rst,
              ALIGN => align, CASC_DIN1 => '0', CASC_DIN2 => '0', Q => q_master, CASC_DOUT1 => rcasc1,
              CASC_DOUT2 => rcasc2);
  rx_s : entity work.ISER
    generic map (CAPTURE_KIND => KIND, DATA_RATE => RATE, DATA_WIDTH => W, CASCADE_ROLE => "SLAVE")
    port map (D => '0', CLK => rclk, CLKB => rclkb, CLKWORD => rclkword, CE => '1', RST => rst,
              ALIGN => '0', CASC_DIN1 => rcasc1, CASC_DIN2 => rcasc2, Q => q_slave, CASC_DOUT1 => open,
              CASC_DOUT2 => open);

  send : process (clkword)
    variable s1, s2 : positive := 7;
    variable r      : real;
  begin
    if rising_edge(clkword) and rst = '0' then
      sent(nsent) <= tx_word;
      nsent <= nsent + 1;
      uniform(s1, s2, r);
      tx_word <= std_logic_vector(to_unsigned(integer(floor(r * real(2 ** W))), 10));
    end if;
  end process;

  receive : process (rclkword)
  begin
    if rising_edge(rclkword) and nsent > 0 then
      if W > 8 then
        got(ngot) <= q_slave(1 downto 0) & q_master;
      else
        got(ngot) <= "00" & q_master;
      end if;
      ngot <= ngot + 1;
    end if;
  end process;

  -- The line, one sample a bit, mid-bit.
  watch : process (rclk)
  begin
    if rst = '0' and (rising_edge(rclk) or (RATE = "DDR" and falling_edge(rclk))) then
      bits(nbits) <= line;
      nbits <= nbits + 1;
    end if;
  end process;

  -- ALIGN high for SLIP word clocks right after reset.
  slipping : process
  begin
    wait until rst = '0';
    for k in 1 to SLIP loop
      wait until rising_edge(rclkword);
      align <= '1';
    end loop;
    wait until rising_edge(rclkword);
    align <= '0';
    wait;
  end process;

  main : process
    variable errors, start : integer := 0;
    variable want          : std_logic_vector(9 downto 0);
  begin
    tx_word <= std_logic_vector(to_unsigned(16#155# mod 2 ** W, 10));
    wait for 10 * TB * W;
    wait until rising_edge(clkword);
    rst <= '0';
    wait until nsent = WORDS;
    wait for 4 * TB * W;
    -- Words: got(n + LATENCY) = sent(n), moved SLIP bits earlier (the low
    -- bits from the previous word) once the ALIGN pulses are over.
    for n in SLIP + 2 to WORDS - LATENCY - 1 loop
      want := std_logic_vector((shift_left(unsigned(sent(n)), SLIP) or shift_right(unsigned(sent(n - 1)), W - SLIP))
                               and to_unsigned(2 ** W - 1, 10));
      if got(n + LATENCY) /= want then
        if errors < 4 then
          report "word " & integer'image(n) & ": expected " & to_hstring(want) & ", got " &
            to_hstring(got(n + LATENCY));
        end if;
        errors := errors + 1;
      end if;
    end loop;
    -- Line: some bit starts word 1, and every later word follows, bit 0 first.
    start := -1;
    for b in 0 to 3 * W - 1 loop
      start := b;
      for n in 1 to 5 loop
        for i in 0 to W - 1 loop
          if bits(b + (n - 1) * W + i) /= sent(n)(i) then
            start := -1;
          end if;
        end loop;
      end loop;
      exit when start >= 0;
    end loop;
    if start < 0 then
      report "line does not carry the words bit 0 first";
      errors := errors + 1;
    end if;
    if errors = 0 then
      report "PASS: " & RATE & " width " & integer'image(W);
    else
      report "FAIL: " & RATE & " width " & integer'image(W) & ", " & integer'image(errors) & " errors";
    end if;
    done <= true;
    wait;
  end process;
end architecture test;
