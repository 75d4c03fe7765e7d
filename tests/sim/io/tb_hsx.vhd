-- Transceiver lane round trip: random words sent through the serial pins
-- (an external wire from TXP/TXN to RXP/RXN, or the lane's own near-end
-- loopback) must come back in order after LATENCY word clocks. Both fabric
-- clocks are the lane's TXREFOUT; the first word is sent once the receiver
-- is aligned. LATENCY -1 only reports the latency. The line rate and the
-- reference clock are given in kbit/s and kHz (the simulator sets integer
-- generics only).
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use ieee.math_real.all;

entity tb_hsx is
  generic (
    LANE       : string  := "HSX3";
    W          : integer := 16;
    TX_CODE    : string  := "8B10B";
    RX_CODE    : string  := "8B10B";
    LOOP_KIND  : string  := "WIRE";  -- WIRE or NEAR_END_PMA
    RATE_KBPS  : integer := 3125000;
    REFCLK_KHZ : integer := 156250;
    MULT       : integer := 10;
    REFDIV     : integer := 1;
    RATEDIV    : integer := 1;
    LATENCY    : integer := -1;
    -- With CTRL 1 some words carry control: 8b/10b control characters that
    -- are not commas in any byte, 64b/66b control blocks.
    CTRL       : integer := 0
  );
end entity tb_hsx;

architecture test of tb_hsx is
  constant WORDS       : integer := 100;
  constant LINE_RATE   : real    := real(RATE_KBPS) / 1.0e6;
  constant REFCLK_FREQ : real    := real(REFCLK_KHZ) / 1.0e3;
  function max_width return integer is
  begin
    if LANE = "HSX10" then return 64; elsif LANE = "HSX11" then return 40; end if;
    return 32;
  end function;
  constant MAXW : integer := max_width;
  function loop_mode return string is
  begin
    if LOOP_KIND = "WIRE" then return "NONE"; end if;
    return LOOP_KIND;
  end function;
  type words_t is array (0 to WORDS - 1) of std_logic_vector(63 downto 0);
  type ctrls_t is array (0 to WORDS - 1) of std_logic_vector(7 downto 0);
  type kchars_t is array (0 to 8) of std_logic_vector(7 downto 0);
  -- Control characters without a comma: K28.0, K28.2, K28.3, K28.4, K28.6, K23.7, K27.7, K29.7, K30.7.
  constant KCHARS : kchars_t := (x"1C", x"5C", x"7C", x"9C", x"DC", x"F7", x"FB", x"FD", x"FE");

  signal refclk, fabclk, txp, txn, rxp, rxn : std_logic := '0';
  signal reset, rxreset : std_logic := '1';
  signal txdata   : std_logic_vector(MAXW - 1 downto 0) := (others => '0');
  signal txctrl   : std_logic_vector(MAXW / 8 - 1 downto 0) := (others => '0');
  signal rxd      : std_logic_vector(MAXW - 1 downto 0);
  signal rxc      : std_logic_vector(MAXW / 8 - 1 downto 0);
  signal rxrderr  : std_logic_vector(MAXW / 8 - 1 downto 0);
  signal rxbad    : std_logic_vector(MAXW / 8 - 1 downto 0);
  signal synclost : std_logic_vector(1 downto 0);
  signal sent     : words_t;
  signal sent_ctrl : ctrls_t;
  signal nsent    : integer := 0;
  signal found, first_cycle, errors : integer := -1;
  signal line_errors : integer := 0;
begin
  refclk <= not refclk after 0.5 us / REFCLK_FREQ;
  rxp    <= txp when LOOP_KIND = "WIRE" else '0';
  rxn    <= txn when LOOP_KIND = "WIRE" else '0';

  hsx10_lane : if LANE = "HSX10" generate
    dut : entity work.HSX10
      generic map (LINE_RATE => LINE_RATE, REFCLK_FREQ => REFCLK_FREQ, TX_DATA_WIDTH => W, RX_DATA_WIDTH => W,
                   TX_ENCODING => TX_CODE, RX_DECODING => RX_CODE, LOOPBACK_MODE => loop_mode,
                   PLL_MULT => MULT, PLL_REFDIV => REFDIV, PLL_RATEDIV => RATEDIV)
      port map (RXP => rxp, RXN => rxn, TXP => txp, TXN => txn, REFCLK => refclk, RXFABCLK => fabclk,
                RXFABCLK2 => fabclk, TXFABCLK => fabclk, TXFABCLK2 => fabclk, RXRESET => rxreset,
                TXRESET => reset, TXDATA => txdata, TXISCTRL => txctrl, RXDATA => rxd, RXISCTRL => rxc, RXRDERR => rxrderr, RXBADCODE => rxbad, TXREFOUT => fabclk,
                RXSYNCLOST => synclost, TXSWING => "100", TXEMPH => "0010", RXEQ => "11", RXALIGNEN => '1');
  elsif LANE = "HSX11" generate
    dut : entity work.HSX11
      generic map (LINE_RATE => LINE_RATE, REFCLK_FREQ => REFCLK_FREQ, TX_DATA_WIDTH => W, RX_DATA_WIDTH => W,
                   TX_ENCODING => TX_CODE, RX_DECODING => RX_CODE, LOOPBACK_MODE => loop_mode,
                   PLL_MULT => MULT, PLL_REFDIV => REFDIV, PLL_RATEDIV => RATEDIV)
      port map (RXP => rxp, RXN => rxn, TXP => txp, TXN => txn, REFCLK => refclk, RXFABCLK => fabclk,
                RXFABCLK2 => fabclk, TXFABCLK => fabclk, TXFABCLK2 => fabclk, RXRESET => rxreset,
                TXRESET => reset, TXDATA => txdata, TXISCTRL => txctrl, RXDATA => rxd, RXISCTRL => rxc, RXRDERR => rxrderr, RXBADCODE => rxbad, TXREFOUT => fabclk,
                RXSYNCLOST => synclost, TXSWING => "100", TXEMPH => "0010", RXEQ => "11", RXALIGNEN => '1');
  else generate
    dut : entity work.HSX3
      generic map (LINE_RATE => LINE_RATE, REFCLK_FREQ => REFCLK_FREQ, TX_DATA_WIDTH => W, RX_DATA_WIDTH => W,
                   TX_ENCODING => TX_CODE, RX_DECODING => RX_CODE, LOOPBACK_MODE => loop_mode,
                   PLL_MULT => MULT, PLL_REFDIV => REFDIV, PLL_RATEDIV => RATEDIV)
      port map (RXP => rxp, RXN => rxn, TXP => txp, TXN => txn, REFCLK => refclk, RXFABCLK => fabclk,
                RXFABCLK2 => fabclk, TXFABCLK => fabclk, TXFABCLK2 => fabclk, RXRESET => rxreset,
                TXRESET => reset, TXDATA => txdata, TXISCTRL => txctrl, RXDATA => rxd, RXISCTRL => rxc, RXRDERR => rxrderr, RXBADCODE => rxbad, TXREFOUT => fabclk,
                RXSYNCLOST => synclost, TXSWING => "100", TXEMPH => "0010", RXEQ => "11", RXALIGNEN => '1');
  end generate;

  exchange : process (fabclk)
    variable cycle  : integer := 0;
    variable s1, s2 : positive := 11;
    variable r      : real;
    variable word   : std_logic_vector(63 downto 0);
    variable got    : std_logic_vector(63 downto 0);
    variable flags  : std_logic_vector(7 downto 0);
    variable gotc   : std_logic_vector(7 downto 0);
    variable n      : integer := 0;
    variable f      : integer := -1;
    variable e      : integer := 0;
  begin
    if rising_edge(fabclk) then
      cycle := cycle + 1;
      got := (others => '0');
      got(MAXW - 1 downto 0) := rxd;
      got := got and std_logic_vector(shift_right(unsigned'(x"FFFFFFFFFFFFFFFF"), 64 - W));
      gotc := (others => '0');
      gotc(MAXW / 8 - 1 downto 0) := rxc;
      if reset = '0' and n < WORDS then
        if n = 0 then first_cycle <= cycle; end if;
        word := (others => '0');
        word(MAXW - 1 downto 0) := txdata;
        sent(n) <= word;
        flags := (others => '0');
        flags(MAXW / 8 - 1 downto 0) := txctrl;
        sent_ctrl(n) <= flags;
      end if;
      -- Looks for the first word, then checks the ones after it.
      if reset = '0' and f < 0 and n > 0 and got = sent(0) and gotc = sent_ctrl(0) then
        f := cycle;
        found <= f;
      end if;
      if f >= 0 and cycle - f < WORDS and cycle - f < n then
        if got /= sent(cycle - f) or gotc /= sent_ctrl(cycle - f) or unsigned(rxrderr) /= 0 or unsigned(rxbad) /= 0 then
          if e < 4 then
            report "word " & integer'image(cycle - f) & ": sent " & to_hstring(sent(cycle - f)) & ", got " &
              to_hstring(got) & " (disparity errors " & to_string(rxrderr) & ", bad codes " & to_string(rxbad) & ")";
          end if;
          e := e + 1;
        end if;
      end if;
      errors <= e;
      if reset = '0' and n < WORDS then
        n := n + 1;
        nsent <= n;
      end if;
      for i in 0 to W - 1 loop
        uniform(s1, s2, r);
        if r < 0.5 then word(i) := '0'; else word(i) := '1'; end if;
      end loop;
      word := word and std_logic_vector(shift_right(unsigned'(x"FFFFFFFFFFFFFFFF"), 64 - W));
      flags := (others => '0');
      if CTRL /= 0 and TX_CODE = "8B10B" then
        for b in 0 to W / 8 - 1 loop
          uniform(s1, s2, r);
          if r < 0.125 then
            uniform(s1, s2, r);
            word(8 * b + 7 downto 8 * b) := KCHARS(integer(floor(r * 9.0)));
            flags(b) := '1';
          end if;
        end loop;
      elsif CTRL /= 0 and TX_CODE = "64B66B" and n mod (64 / W) = 0 then
        uniform(s1, s2, r);
        if r < 0.25 then
          flags(0) := '1';
        end if;
      end if;
      txdata <= word(MAXW - 1 downto 0);
      txctrl <= flags(MAXW / 8 - 1 downto 0);
    end if;
  end process;

  -- The line in reset, 16-bit 8b/10b: idle words K28.5 D16.2 from negative
  -- running disparity, 0011111010 1001000101, first bit first.
  line_check : process
    variable bits : std_logic_vector(19 downto 0);
  begin
    if TX_CODE = "8B10B" and W = 16 then
      wait until rising_edge(txn);
      wait for 0.5 ns / LINE_RATE;
      for k in 19 downto 0 loop
        bits(k) := txp;
        wait for 1 ns / LINE_RATE;
      end loop;
      if bits /= "00111110101001000101" then
        report "line carries " & to_string(bits) & ", not K28.5 D16.2";
        line_errors <= 1;
      end if;
    end if;
    wait;
  end process;

  main : process
    variable measured : integer;
  begin
    -- The receiver aligns to the idle words the lane sends in reset, then
    -- the words to check follow.
    wait for 100 ns;
    wait until rising_edge(fabclk);
    rxreset <= '0';
    wait until synclost(0) = '0' for 2 us;
    if synclost(0) /= '0' then
      report "FAIL: no word came back (" & TX_CODE & " to " & RX_CODE & ", lane " & LANE &
        "): the receiver did not align";
      std.env.finish;
    end if;
    for i in 1 to 8 loop
      wait until rising_edge(fabclk);
    end loop;
    reset <= '0';
    wait until nsent = WORDS;
    for i in 1 to WORDS + 40 loop
      wait until rising_edge(fabclk);
    end loop;
    measured := found - first_cycle;
    if found < 0 then
      report "FAIL: no word came back (" & TX_CODE & " to " & RX_CODE & ", lane " & LANE & ")";
    elsif errors + line_errors /= 0 or (LATENCY >= 0 and measured /= LATENCY) then
      report "FAIL: " & LANE & " " & TX_CODE & " width " & integer'image(W) & ": " & integer'image(errors) &
        " words wrong, latency " & integer'image(measured) & " word clocks (expected " & integer'image(LATENCY) & ")";
    else
      report "PASS: " & LANE & " " & TX_CODE & " width " & integer'image(W) & ", " & LOOP_KIND & ": " &
        integer'image(WORDS) & " words back after " & integer'image(measured) & " word clocks";
    end if;
    -- The lane's clocks run on: the run ends here.
    std.env.finish;
  end process;
end architecture test;
