-- Simulation model of HSX10, a transceiver lane (written from
-- sim/hsx/HSX.vhd.in by sim/hsx/HsxModels.cmake; edit the template).
--
-- Clocks. After 4 rising edges of REFCLK with the period of REFCLK_FREQ
-- (within 0.5 %) the lane's PLL is locked and the serial bit clock runs at
-- LINE_RATE (Gbit/s); LINE_RATE must equal
-- 2 x REFCLK_FREQ x PLL_MULT / PLL_REFDIV / PLL_RATEDIV (MHz / 1000).
-- TXREFOUT is the transmit word clock (LINE_RATE x code rate /
-- TX_DATA_WIDTH, code rate 8/10 with 8B10B, 64/66 with 64B66B, 1 with NONE)
-- and RXCDRCLK the receive word clock, both from the PLL; TXFABCLK and
-- RXFABCLK take and give one word a rising edge and must run at those rates.
-- TXFABCLK2 and RXFABCLK2 are not used.
--
-- Transmit: TXDATA(TX_DATA_WIDTH-1 downto 0) enters a buffer of 16 words on
-- each rising edge of TXFABCLK while TXRESET is low. The serializer starts
-- half a word after a TXREFOUT rising edge and sends one word (8B10B, NONE)
-- or one 66-bit block (64B66B) at a time once the buffer holds it, else an
-- idle word (8B10B: K28.5 then D16.2 bytes; 64B66B: a control block of type
-- 0x1E; NONE: zeros). 8B10B codes byte 0 first with running disparity;
-- TXISCTRL(i) makes byte i a control character (K28.0 to K28.7, K23.7,
-- K27.7, K29.7, K30.7) and TXDISPMODE(i) forces the disparity the byte is
-- coded with to TXDISPVAL(i) ('1' positive). 64B66B sends the sync header
-- (01 data, 10 control when TXISCTRL(0) of the block's first word is set)
-- and the 64 payload bits, first word's bit 0 first, through the scrambler
-- x^58 + x^39 + 1. Bits go out first bit first on TXP, inverted on TXN;
-- TXPOLARITY inverts them, TXMUTE and POWERDOWN drive both low. TXFIFOERR is
-- high for a word when the buffer ran empty after starting, or was full.
--
-- Receive: the bit clock's phase follows the edges of RXP (RXN is not
-- looked at; RXP equal to RXN or unknown means no signal), sampling mid-bit.
-- 8B10B: with COMMA_DETECT a comma (0011111 or 1100000, the first seven bits
-- of K28.1, K28.5, K28.7) aligns the symbols, and puts that character in
-- byte 0 of RXDATA (COMMA_ALIGN_MSB FALSE) or in the highest byte (TRUE),
-- while RXALIGNEN is high. Four bad characters in a row lose the alignment.
-- RXISCTRL, RXRDERR and RXBADCODE flag per byte a control character, a
-- disparity error and a code not in the tables. 64B66B: the lane slips one
-- bit at a time until 32 sync headers in a row are valid, loses the lock at
-- 16 bad headers among 64, descrambles, and gives RXISCTRL(0) set on the
-- first word of a control block, RXBADCODE(0) on a bad header. NONE: the
-- word boundary is where the first bit was received. Aligned words enter a
-- buffer of 32 words read one a rising edge of RXFABCLK from the first edge
-- that finds a word in it; an alignment change empties it. RXSYNCLOST(0) is
-- high while not aligned, RXSYNCLOST(1) once alignment was lost after
-- RXRESET. RXFIFOSTAT is 11 for a cycle when the buffer ran empty or full
-- and 00 otherwise; RXPOLARITY inverts the received bits.
--
-- Latency with TXFABCLK and RXFABCLK driven from TXREFOUT: see
-- docs/simulation.md (a fixed number of word clocks per data width and code).
--
-- Loopback: LOOPBACK 00 takes LOOPBACK_MODE; 01 or NEAR_END_PCS and 10 or
-- NEAR_END_PMA feed the serial bits into the receiver (both take the same
-- path here), TXP still sending; 11 or FAR_END_PMA sends RXP back out on TXP.
--
-- Not modelled: clock correction (CLK_COMP, CLK_COMP_SEQ: with equal clock
-- rates none is needed; a buffer running empty or full with CLK_COMP TRUE is
-- reported as an error), lane bonding (LANE_BOND_MODE: no pins join the
-- lanes, each lane aligns alone; a note says so), TX_BUFFER_USE and
-- RX_BUFFER_USE FALSE (the buffers stay), the analog settings TXSWING,
-- TXEMPH and RXEQ, COMMA_VALUE USER (no pattern to match: an error).
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use ieee.math_real.all;

entity HSX10 is
  generic (
    LINE_RATE        : real    := 10.3125;
    REFCLK_FREQ      : real    := 312.5;
    TX_DATA_WIDTH    : integer := 32;
    RX_DATA_WIDTH    : integer := 32;
    TX_ENCODING      : string  := "8B10B";
    RX_DECODING      : string  := "8B10B";
    COMMA_DETECT     : string  := "TRUE";
    COMMA_VALUE      : string  := "K28.5";
    COMMA_ALIGN_MSB  : string  := "FALSE";
    CLK_COMP         : string  := "TRUE";
    CLK_COMP_SEQ_LEN : integer := 1;
    LANE_BOND_MODE   : string  := "NONE";
    LOOPBACK_MODE    : string  := "NONE";
    TX_BUFFER_USE    : string  := "TRUE";
    RX_BUFFER_USE    : string  := "TRUE";
    LOC              : string  := "";
    CLK_COMP_SEQ     : string  := "K28.0";
    PLL_MULT         : integer := 33;
    PLL_REFDIV       : integer := 2;
    PLL_RATEDIV      : integer := 1
  );
  port (
    RXP        : in  std_logic := '0';
    RXN        : in  std_logic := '0';
    TXP        : out std_logic;
    TXN        : out std_logic;
    REFCLK     : in  std_logic := '0';
    RXFABCLK   : in  std_logic := '0';
    RXFABCLK2  : in  std_logic := '0';
    TXFABCLK   : in  std_logic := '0';
    TXFABCLK2  : in  std_logic := '0';
    RXRESET    : in  std_logic := '0';
    TXRESET    : in  std_logic := '0';
    TXDATA     : in  std_logic_vector(63 downto 0) := (others => '0');
    TXISCTRL   : in  std_logic_vector(7 downto 0) := (others => '0');
    TXDISPMODE : in  std_logic_vector(7 downto 0) := (others => '0');
    TXDISPVAL  : in  std_logic_vector(7 downto 0) := (others => '0');
    RXDATA     : out std_logic_vector(63 downto 0);
    RXISCTRL   : out std_logic_vector(7 downto 0);
    RXRDERR    : out std_logic_vector(7 downto 0);
    RXBADCODE  : out std_logic_vector(7 downto 0);
    RXCDRCLK   : out std_logic;
    TXREFOUT   : out std_logic;
    RXSYNCLOST : out std_logic_vector(1 downto 0);
    RXFIFOSTAT : out std_logic_vector(1 downto 0);
    TXFIFOERR  : out std_logic;
    LOOPBACK   : in  std_logic_vector(1 downto 0) := (others => '0');
    POWERDOWN  : in  std_logic := '0';
    RXPOLARITY : in  std_logic := '0';
    TXPOLARITY : in  std_logic := '0';
    TXMUTE     : in  std_logic := '0';
    TXSWING    : in  std_logic_vector(2 downto 0) := (others => '0');
    TXEMPH     : in  std_logic_vector(3 downto 0) := (others => '0');
    RXEQ       : in  std_logic_vector(1 downto 0) := (others => '0');
    RXALIGNEN  : in  std_logic := '0'
  );
end entity HSX10;

architecture model of HSX10 is
  constant MAX_WIDTH : integer := 64;
  type code_t is (CODE_NONE, CODE_8B10B, CODE_64B66B);

  function code_of(name : string) return code_t is
  begin
    if name = "8B10B" then
      return CODE_8B10B;
    elsif name = "64B66B" then
      return CODE_64B66B;
    end if;
    return CODE_NONE;
  end function;

  -- Line bits a word takes, as a real (a 16-bit word of 64B66B is 16.5).
  function word_bits(code : code_t; width : integer) return real is
  begin
    case code is
      when CODE_8B10B  => return real(width) * 10.0 / 8.0;
      when CODE_64B66B => return real(width) * 66.0 / 64.0;
      when others      => return real(width);
    end case;
  end function;

  -- Words a unit holds: a 66-bit block, else one word.
  function unit_words(code : code_t; width : integer) return integer is
  begin
    if code = CODE_64B66B and width > 0 and width <= 64 then
      return 64 / width;
    end if;
    return 1;
  end function;

  constant TX_CODE       : code_t  := code_of(TX_ENCODING);
  constant RX_CODE       : code_t  := code_of(RX_DECODING);
  constant TX_BYTES      : integer := TX_DATA_WIDTH / 8;
  constant RX_BYTES      : integer := RX_DATA_WIDTH / 8;
  constant BIT_PS        : real    := 1000.0 / LINE_RATE;
  constant TX_WORD_BITS  : real    := word_bits(TX_CODE, TX_DATA_WIDTH);
  constant RX_WORD_BITS  : real    := word_bits(RX_CODE, RX_DATA_WIDTH);
  constant TX_UNIT_WORDS : integer := unit_words(TX_CODE, TX_DATA_WIDTH);
  constant RX_UNIT_WORDS : integer := unit_words(RX_CODE, RX_DATA_WIDTH);
  constant TX_DEPTH      : integer := 16;
  constant RX_DEPTH      : integer := 32;

  -- Times as reals in ps, and back.
  function to_ps(t : time) return real is
  begin
    return real(t / 1 ps) + real((t mod 1 ps) / 1 fs) * 1.0e-3;
  end function;

  function from_ps(value : real) return time is
  begin
    return value * 1 ps;
  end function;

  -- Waits until the absolute time t, unless it has passed.
  procedure wait_to(t : time) is
  begin
    if t > now then
      wait for t - now;
    end if;
  end procedure;

  ---- 8b/10b coding --------------------------------------------------------
  -- Codes are written first bit (a) in bit 9 down to the last (j) in bit 0.
  type code6_table is array (0 to 31) of std_logic_vector(5 downto 0);
  type code4_table is array (0 to 7) of std_logic_vector(3 downto 0);
  -- The 6-bit codes of the five low bits, and the 4-bit codes of the three
  -- high bits of a data byte and of a control character, for negative
  -- running disparity.
  constant CODE6_NEG : code6_table := (
    "100111", "011101", "101101", "110001", "110101", "101001", "011001", "111000",
    "111001", "100101", "010101", "110100", "001101", "101100", "011100", "010111",
    "011011", "100011", "010011", "110010", "001011", "101010", "011010", "111010",
    "110011", "100110", "010110", "110110", "001110", "101110", "011110", "101011");
  constant CODE4_NEG  : code4_table := ("1011", "1001", "0101", "1100", "1101", "1010", "0110", "1110");
  constant CODE4K_NEG : code4_table := ("1011", "0110", "1010", "1100", "1101", "0101", "1001", "0111");

  function ones(v : std_logic_vector) return integer is
    variable n : integer := 0;
  begin
    for i in v'range loop
      if v(i) = '1' then
        n := n + 1;
      end if;
    end loop;
    return n;
  end function;

  -- A valid control character: K28.y, K23.7, K27.7, K29.7, K30.7.
  function valid_k(b : std_logic_vector(7 downto 0)) return boolean is
    constant x : integer := to_integer(unsigned(b(4 downto 0)));
    constant y : integer := to_integer(unsigned(b(7 downto 5)));
  begin
    return x = 28 or (y = 7 and (x = 23 or x = 27 or x = 29 or x = 30));
  end function;

  -- Codes byte b (a control character when k) at running disparity rd
  -- ('1' positive): running disparity after it & code.
  function encode(b : std_logic_vector(7 downto 0); k : boolean; rd : std_logic) return std_logic_vector is
    constant x   : integer := to_integer(unsigned(b(4 downto 0)));
    constant y   : integer := to_integer(unsigned(b(7 downto 5)));
    constant k28 : boolean := k and x = 28;
    variable c6  : std_logic_vector(5 downto 0);
    variable c4  : std_logic_vector(3 downto 0);
    variable rd6 : std_logic;
    variable n   : integer;
  begin
    if k28 then
      c6 := "001111";
    else
      c6 := CODE6_NEG(x);
    end if;
    -- Unbalanced codes and D.07 / K.28 have a second form for positive disparity.
    if rd = '1' and (ones(c6) /= 3 or x = 7 or k28) then
      c6 := not c6;
    end if;
    if ones(c6) = 3 then
      rd6 := rd;
    elsif ones(c6) > 3 then
      rd6 := '1';
    else
      rd6 := '0';
    end if;
    if k then
      c4 := CODE4K_NEG(y);
      if rd6 = '1' then
        c4 := not c4;
      end if;
    elsif y = 7 and ((rd6 = '0' and (x = 17 or x = 18 or x = 20)) or (rd6 = '1' and (x = 11 or x = 13 or x = 14))) then
      if rd6 = '1' then
        c4 := "1000";
      else
        c4 := "0111";
      end if;
    else
      c4 := CODE4_NEG(y);
      if rd6 = '1' and (ones(c4) /= 2 or y = 3) then
        c4 := not c4;
      end if;
    end if;
    n := ones(c6 & c4);
    if n = 5 then
      return rd & c6 & c4;
    elsif n > 5 then
      return '1' & c6 & c4;
    end if;
    return '0' & c6 & c4;
  end function;

  -- Decoding table, by code: the byte, whether a control character, and
  -- whether the code is valid at negative / positive running disparity.
  type dec_entry is record
    byte : std_logic_vector(7 downto 0);
    k    : boolean;
    neg  : boolean;
    pos  : boolean;
  end record;
  type dec_table is array (0 to 1023) of dec_entry;

  function build_table return dec_table is
    variable t : dec_table := (others => (byte => x"00", k => false, neg => false, pos => false));
    variable b : std_logic_vector(7 downto 0);
    variable c : std_logic_vector(10 downto 0);
    variable i : integer;
  begin
    for n in 0 to 511 loop
      b := std_logic_vector(to_unsigned(n mod 256, 8));
      if n < 256 or valid_k(b) then
        c := encode(b, n >= 256, '0');
        i := to_integer(unsigned(c(9 downto 0)));
        t(i).byte := b; t(i).k := n >= 256; t(i).neg := true;
        c := encode(b, n >= 256, '1');
        i := to_integer(unsigned(c(9 downto 0)));
        t(i).byte := b; t(i).k := n >= 256; t(i).pos := true;
      end if;
    end loop;
    return t;
  end function;

  constant DEC : dec_table := build_table;

  function config_ok return boolean is
    constant pll_rate : real := 2.0 * REFCLK_FREQ * real(PLL_MULT) / real(PLL_REFDIV) / real(PLL_RATEDIV) / 1000.0;
  begin
    return pll_rate >= LINE_RATE * 0.999999 and pll_rate <= LINE_RATE * 1.000001 and
      (TX_ENCODING = "NONE" or TX_ENCODING = "8B10B" or TX_ENCODING = "64B66B") and
      (RX_DECODING = "NONE" or RX_DECODING = "8B10B" or RX_DECODING = "64B66B") and
      TX_DATA_WIDTH >= 8 and TX_DATA_WIDTH <= MAX_WIDTH and TX_DATA_WIDTH mod 8 = 0 and
      (TX_CODE /= CODE_64B66B or 64 mod TX_DATA_WIDTH = 0) and
      RX_DATA_WIDTH >= 8 and RX_DATA_WIDTH <= MAX_WIDTH and RX_DATA_WIDTH mod 8 = 0 and
      (RX_CODE /= CODE_64B66B or 64 mod RX_DATA_WIDTH = 0) and
      (COMMA_VALUE = "K28.5" or COMMA_VALUE = "K28.1" or COMMA_VALUE = "K28.7") and
      (LOOPBACK_MODE = "NONE" or LOOPBACK_MODE = "NEAR_END_PCS" or LOOPBACK_MODE = "NEAR_END_PMA" or
       LOOPBACK_MODE = "FAR_END_PMA");
  end function;

  type data_array is array (natural range <>) of std_logic_vector(MAX_WIDTH - 1 downto 0);
  type flag_array is array (natural range <>) of std_logic_vector(7 downto 0);

  signal locked     : boolean := false;
  signal t_lock     : time    := 0 ps;
  signal txrefout_s : std_logic := '0';
  signal rxcdrclk_s : std_logic := '0';

  signal txb_data  : data_array(0 to TX_DEPTH - 1) := (others => (others => '0'));
  signal txb_ctrl  : flag_array(0 to TX_DEPTH - 1) := (others => (others => '0'));
  signal txb_dmode : flag_array(0 to TX_DEPTH - 1) := (others => (others => '0'));
  signal txb_dval  : flag_array(0 to TX_DEPTH - 1) := (others => (others => '0'));
  signal tx_wr     : integer := 0;  -- words written (the writer's)
  signal tx_rd     : integer := 0;  -- words read (the serializer's)
  signal tx_over   : std_logic := '0';
  signal tx_under  : std_logic := '0';
  signal tx_bit    : std_logic := '0';  -- the serial bit sent, before polarity and muting
  signal tx_active : boolean := false;
  signal tx_line   : std_logic;
  signal lb_mode   : integer range 0 to 3;  -- 0 none, 1 near-end PCS, 2 near-end PMA, 3 far-end PMA
  signal rx_line   : std_logic;

  signal rxb_data    : data_array(0 to RX_DEPTH - 1) := (others => (others => '0'));
  signal rxb_ctrl    : flag_array(0 to RX_DEPTH - 1) := (others => (others => '0'));
  signal rxb_rderr   : flag_array(0 to RX_DEPTH - 1) := (others => (others => '0'));
  signal rxb_bad     : flag_array(0 to RX_DEPTH - 1) := (others => (others => '0'));
  signal rx_wr       : integer := 0;  -- words written (the receiver's)
  signal rx_epoch    : integer := 0;  -- alignment changes (the receiver's)
  signal rx_epoch_wr : integer := 0;  -- rx_wr at the last change
  signal aligned     : std_logic := '0';
  signal lost        : std_logic := '0';
  signal last_edge   : time := 0 ps;
  signal edges       : integer := 0;  -- edges of a valid signal

  signal rxdata_q    : std_logic_vector(MAX_WIDTH - 1 downto 0) := (others => '0');
  signal rxctrl_q    : std_logic_vector(7 downto 0) := (others => '0');
  signal rxrderr_q   : std_logic_vector(7 downto 0) := (others => '0');
  signal rxbad_q     : std_logic_vector(7 downto 0) := (others => '0');
  signal rxfifostat_q : std_logic_vector(1 downto 0) := "00";
begin
  ---- Checks of the attributes at time 0 -------------------------------------
  check : process
    constant pll_rate : real := 2.0 * REFCLK_FREQ * real(PLL_MULT) / real(PLL_REFDIV) / real(PLL_RATEDIV) / 1000.0;
  begin
    if pll_rate < LINE_RATE * 0.999999 or pll_rate > LINE_RATE * 1.000001 then
      report HSX10'path_name & ": LINE_RATE " & real'image(LINE_RATE) &
        " Gbit/s is not 2 x REFCLK_FREQ x PLL_MULT / PLL_REFDIV / PLL_RATEDIV = " & real'image(pll_rate) &
        " Gbit/s" severity error;
    end if;
    if TX_ENCODING /= "NONE" and TX_ENCODING /= "8B10B" and TX_ENCODING /= "64B66B" then
      report HSX10'path_name & ": TX_ENCODING """ & TX_ENCODING & """ is not NONE, 8B10B or 64B66B" severity error;
    end if;
    if RX_DECODING /= "NONE" and RX_DECODING /= "8B10B" and RX_DECODING /= "64B66B" then
      report HSX10'path_name & ": RX_DECODING """ & RX_DECODING & """ is not NONE, 8B10B or 64B66B" severity error;
    end if;
    if TX_DATA_WIDTH < 8 or TX_DATA_WIDTH > MAX_WIDTH or TX_DATA_WIDTH mod 8 /= 0 or
       (TX_CODE = CODE_64B66B and 64 mod TX_DATA_WIDTH /= 0) then
      report HSX10'path_name & ": TX_DATA_WIDTH " & integer'image(TX_DATA_WIDTH) & " does not fit TX_ENCODING " &
        TX_ENCODING severity error;
    end if;
    if RX_DATA_WIDTH < 8 or RX_DATA_WIDTH > MAX_WIDTH or RX_DATA_WIDTH mod 8 /= 0 or
       (RX_CODE = CODE_64B66B and 64 mod RX_DATA_WIDTH /= 0) then
      report HSX10'path_name & ": RX_DATA_WIDTH " & integer'image(RX_DATA_WIDTH) & " does not fit RX_DECODING " &
        RX_DECODING severity error;
    end if;
    if COMMA_VALUE /= "K28.5" and COMMA_VALUE /= "K28.1" and COMMA_VALUE /= "K28.7" then
      report HSX10'path_name & ": COMMA_VALUE """ & COMMA_VALUE & """ has no comma pattern this model can align to"
        severity error;
    end if;
    if LOOPBACK_MODE /= "NONE" and LOOPBACK_MODE /= "NEAR_END_PCS" and LOOPBACK_MODE /= "NEAR_END_PMA" and
       LOOPBACK_MODE /= "FAR_END_PMA" then
      report HSX10'path_name & ": LOOPBACK_MODE """ & LOOPBACK_MODE &
        """ is not NONE, NEAR_END_PCS, NEAR_END_PMA or FAR_END_PMA" severity error;
    end if;
    if LANE_BOND_MODE /= "NONE" then
      report HSX10'path_name & ": LANE_BOND_MODE " & LANE_BOND_MODE &
        ": lanes are not bonded in simulation, each aligns alone" severity note;
    end if;
    wait;
  end process;

  ---- PLL lock and word clocks -----------------------------------------------
  pll : process (REFCLK)
    variable ref_last  : time    := -1 ps;
    variable period    : time;
    variable good      : integer := 0;
    variable reported  : boolean := false;
    constant REF_PERIOD : time   := 1 us / REFCLK_FREQ;
  begin
    if rising_edge(REFCLK) and not locked and config_ok then
      if ref_last >= 0 ps then
        period := now - ref_last;
        if period < REF_PERIOD * 0.995 or period > REF_PERIOD * 1.005 then
          if not reported then
            report HSX10'path_name & ": REFCLK period " & time'image(period) & " is not that of REFCLK_FREQ " &
              real'image(REFCLK_FREQ) & " MHz; the PLL does not lock" severity error;
          end if;
          reported := true;
          good     := 0;
        else
          good := good + 1;
        end if;
      end if;
      ref_last := now;
      if good = 4 then
        t_lock <= now;
        locked <= true;
      end if;
    end if;
  end process;

  TXREFOUT <= txrefout_s;
  RXCDRCLK <= rxcdrclk_s;

  txref_clock : process
    variable n : integer := 0;
  begin
    wait until locked;
    loop
      wait_to(from_ps(to_ps(t_lock) + real(n) * TX_WORD_BITS * BIT_PS));
      txrefout_s <= '1';
      wait_to(from_ps(to_ps(t_lock) + (real(n) + 0.5) * TX_WORD_BITS * BIT_PS));
      txrefout_s <= '0';
      n := n + 1;
    end loop;
  end process;

  rxcdr_clock : process
    variable n : integer := 0;
  begin
    wait until locked;
    loop
      wait_to(from_ps(to_ps(t_lock) + real(n) * RX_WORD_BITS * BIT_PS));
      rxcdrclk_s <= '1';
      wait_to(from_ps(to_ps(t_lock) + (real(n) + 0.5) * RX_WORD_BITS * BIT_PS));
      rxcdrclk_s <= '0';
      n := n + 1;
    end loop;
  end process;

  ---- Transmit buffer ----------------------------------------------------------
  TXFIFOERR <= tx_over or tx_under;

  tx_write : process (TXFABCLK)
    variable wr : integer := 0;
  begin
    if rising_edge(TXFABCLK) then
      tx_over <= '0';
      if TXRESET /= '1' and locked then
        if wr - tx_rd >= TX_DEPTH then
          tx_over <= '1';
        else
          txb_data(wr mod TX_DEPTH) <= (others => '0');
          txb_data(wr mod TX_DEPTH)(63 downto 0) <= TXDATA;
          txb_ctrl(wr mod TX_DEPTH) <= (others => '0');
          txb_ctrl(wr mod TX_DEPTH)(7 downto 0) <= TXISCTRL;
          txb_dmode(wr mod TX_DEPTH) <= (others => '0');
          txb_dmode(wr mod TX_DEPTH)(7 downto 0) <= TXDISPMODE;
          txb_dval(wr mod TX_DEPTH) <= (others => '0');
          txb_dval(wr mod TX_DEPTH)(7 downto 0) <= TXDISPVAL;
          wr := wr + 1;
          tx_wr <= wr;
        end if;
      end if;
    end if;
  end process;

  ---- Serializer -----------------------------------------------------------------
  lb_mode <= to_integer(unsigned(LOOPBACK)) when LOOPBACK = "01" or LOOPBACK = "10" or LOOPBACK = "11" else
             1 when LOOPBACK_MODE = "NEAR_END_PCS" else
             2 when LOOPBACK_MODE = "NEAR_END_PMA" else
             3 when LOOPBACK_MODE = "FAR_END_PMA" else
             0;

  serializer : process
    variable unit       : std_logic_vector(79 downto 0);  -- the unit being sent, first bit in bit 79
    variable unit_len   : integer := 0;
    variable unit_pos   : integer := 0;
    variable rd_pos     : std_logic := '0';  -- running disparity: '1' positive
    variable scr        : std_logic_vector(57 downto 0) := (others => '1');
    variable started    : boolean := false;
    variable rd         : integer := 0;
    variable t_first    : real;
    variable n          : integer := 0;
    variable code       : std_logic_vector(10 downto 0);
    variable payload    : std_logic_vector(63 downto 0);
    variable ctrl_block : std_logic;
    variable sbit       : std_logic;
    variable word       : std_logic_vector(MAX_WIDTH - 1 downto 0);

    -- Builds the next unit from the buffer, or an idle unit.
    procedure next_unit is
    begin
      tx_under <= '0';
      if TXRESET = '1' then
        rd      := tx_wr;
        started := false;
      end if;
      if not started and tx_wr - rd >= TX_UNIT_WORDS then
        started := true;
      end if;
      if started and tx_wr - rd < TX_UNIT_WORDS then
        started  := false;
        tx_under <= '1';
      end if;
      unit := (others => '0');
      if TX_CODE = CODE_64B66B then
        payload    := x"000000000000001E";
        ctrl_block := '1';
        if started then
          ctrl_block := txb_ctrl(rd mod TX_DEPTH)(0);
          for w in 0 to TX_UNIT_WORDS - 1 loop
            word := txb_data(rd mod TX_DEPTH);
            for j in 0 to TX_DATA_WIDTH - 1 loop
              payload(w * TX_DATA_WIDTH + j) := word(j);
            end loop;
            rd := rd + 1;
          end loop;
        end if;
        unit(79) := ctrl_block;
        unit(78) := not ctrl_block;
        for j in 0 to 63 loop
          sbit := payload(j) xor scr(38) xor scr(57);
          scr  := scr(56 downto 0) & sbit;
          unit(77 - j) := sbit;
        end loop;
        unit_len := 66;
      elsif TX_CODE = CODE_8B10B then
        for i in 0 to TX_BYTES - 1 loop
          if started then
            if txb_dmode(rd mod TX_DEPTH)(i) = '1' then
              rd_pos := txb_dval(rd mod TX_DEPTH)(i);
            end if;
            code := encode(txb_data(rd mod TX_DEPTH)(8 * i + 7 downto 8 * i), txb_ctrl(rd mod TX_DEPTH)(i) = '1',
                           rd_pos);
          elsif i = 0 then
            code := encode(x"BC", true, rd_pos);
          else
            code := encode(x"50", false, rd_pos);
          end if;
          rd_pos := code(10);
          unit(79 - 10 * i downto 70 - 10 * i) := code(9 downto 0);
        end loop;
        if started then
          rd := rd + 1;
        end if;
        unit_len := 10 * TX_BYTES;
      else
        if started then
          word := txb_data(rd mod TX_DEPTH);
          for j in 0 to TX_DATA_WIDTH - 1 loop
            unit(79 - j) := word(j);
          end loop;
          rd := rd + 1;
        end if;
        unit_len := TX_DATA_WIDTH;
      end if;
      tx_rd    <= rd;
      unit_pos := 0;
    end procedure;
  begin
    wait until locked;
    -- Units start half a word after the rising edges of TXREFOUT.
    t_first   := to_ps(t_lock) + 0.5 * TX_WORD_BITS * BIT_PS;
    loop
      wait_to(from_ps(t_first + real(n) * BIT_PS));
      if unit_pos >= unit_len then
        next_unit;
      end if;
      tx_bit    <= unit(79 - unit_pos);
      tx_active <= true;
      unit_pos := unit_pos + 1;
      n        := n + 1;
    end loop;
  end process;

  tx_line <= tx_bit xor TXPOLARITY when TXPOLARITY = '1' or TXPOLARITY = '0' else tx_bit;
  TXP <= RXP when lb_mode = 3 else
         '0' when not tx_active or TXMUTE = '1' or POWERDOWN = '1' else
         tx_line;
  TXN <= RXN when lb_mode = 3 else
         '0' when not tx_active or TXMUTE = '1' or POWERDOWN = '1' else
         not tx_line;

  ---- Receiver -------------------------------------------------------------------
  -- The serial input: the own serial bits in near-end loopback, else RXP
  -- while it differs from RXN. 'X' means no signal.
  rx_line <= tx_line when (lb_mode = 1 or lb_mode = 2) and tx_active else
             'X' when lb_mode = 1 or lb_mode = 2 else
             RXP when (RXP = '0' and RXN /= '0') or (RXP = '1' and RXN /= '1') else
             'X';

  edge_watch : process (rx_line)
  begin
    if rx_line = '0' or rx_line = '1' then
      last_edge <= now;
      edges     <= edges + 1;
    end if;
  end process;

  sampler : process
    variable wr          : integer := 0;
    variable epoch       : integer := 0;
    variable is_aligned  : boolean := false;
    variable was_lost    : boolean := false;
    variable bit_count   : integer := 0;
    variable win         : std_logic_vector(65 downto 0) := (others => '0');  -- the latest bit in bit 0
    variable byte_pos    : integer := 0;
    variable rd_pos      : std_logic := '0';
    variable bad_run     : integer := 0;
    variable good_hdrs   : integer := 0;
    variable bad_hdrs    : integer := 0;
    variable hdrs        : integer := 0;
    variable scr         : std_logic_vector(57 downto 0) := (others => '0');
    variable w_data      : std_logic_vector(MAX_WIDTH - 1 downto 0);
    variable w_ctrl, w_rderr, w_bad : std_logic_vector(7 downto 0);
    variable w_drop      : boolean := false;
    variable sym         : integer;
    variable payload     : std_logic_vector(63 downto 0);
    variable hdr_ok      : boolean;
    variable rbit        : std_logic;
    variable slot        : integer;
    variable last_sample : real := -1.0e12;
    variable t_sample    : real;
    variable edge_ps     : real;
    variable edges_seen  : integer := 0;
    variable have_edge   : boolean := false;

    procedure publish is
    begin
      if is_aligned then aligned <= '1'; else aligned <= '0'; end if;
      if was_lost then lost <= '1'; else lost <= '0'; end if;
    end procedure;

    procedure clear_word is
    begin
      w_data := (others => '0'); w_ctrl := (others => '0'); w_rderr := (others => '0'); w_bad := (others => '0');
    end procedure;

    -- A word into the receive buffer.
    procedure push_word is
    begin
      if is_aligned and not w_drop then
        rxb_data(wr mod RX_DEPTH)  <= w_data;
        rxb_ctrl(wr mod RX_DEPTH)  <= w_ctrl;
        rxb_rderr(wr mod RX_DEPTH) <= w_rderr;
        rxb_bad(wr mod RX_DEPTH)   <= w_bad;
        wr    := wr + 1;
        rx_wr <= wr;
      end if;
      w_drop := false;
      clear_word;
    end procedure;

    -- The alignment changed: the buffer starts again.
    procedure realign is
    begin
      epoch := epoch + 1;
      rx_epoch    <= epoch;
      rx_epoch_wr <= wr;
    end procedure;

    procedure rx_reset is
    begin
      is_aligned := RX_CODE = CODE_NONE or (RX_CODE = CODE_8B10B and COMMA_DETECT /= "TRUE");
      was_lost   := false;
      bit_count  := 0;
      byte_pos   := 0;
      bad_run    := 0;
      good_hdrs  := 0; bad_hdrs := 0; hdrs := 0;
      w_drop     := false;
      clear_word;
      realign;
    end procedure;

    -- One received bit.
    procedure rx_bit(b : std_logic) is
    begin
      win       := win(64 downto 0) & b;
      bit_count := bit_count + 1;
      if RX_CODE = CODE_8B10B then
        if COMMA_DETECT = "TRUE" and RXALIGNEN /= '0' and
           (win(9 downto 3) = "0011111" or win(9 downto 3) = "1100000") then
          -- A comma ends here: it is byte 0 (or the highest byte) of a word.
          if COMMA_ALIGN_MSB = "TRUE" then slot := RX_BYTES - 1; else slot := 0; end if;
          if not is_aligned or bit_count /= 10 or byte_pos /= slot then
            is_aligned := true;
            bad_run    := 0;
            realign;
            w_drop   := slot /= 0;
            clear_word;
            byte_pos := slot;
          end if;
          bit_count := 10;
        end if;
        if bit_count >= 10 then
          bit_count := 0;
          sym := to_integer(unsigned(win(9 downto 0)));
          w_data(8 * byte_pos + 7 downto 8 * byte_pos) := DEC(sym).byte;
          if DEC(sym).k then w_ctrl(byte_pos) := '1'; end if;
          if not DEC(sym).neg and not DEC(sym).pos then
            w_bad(byte_pos) := '1';
          elsif (rd_pos = '0' and not DEC(sym).neg) or (rd_pos = '1' and not DEC(sym).pos) then
            w_rderr(byte_pos) := '1';
          end if;
          if ones(win(9 downto 0)) > 5 then
            rd_pos := '1';
          elsif ones(win(9 downto 0)) < 5 then
            rd_pos := '0';
          end if;
          if w_bad(byte_pos) = '1' or w_rderr(byte_pos) = '1' then
            bad_run := bad_run + 1;
          else
            bad_run := 0;
          end if;
          if bad_run >= 4 and is_aligned and COMMA_DETECT = "TRUE" then
            is_aligned := false;
            was_lost   := true;
            realign;
          end if;
          byte_pos := byte_pos + 1;
          if byte_pos >= RX_BYTES then
            push_word;
            byte_pos := 0;
          end if;
        end if;
      elsif RX_CODE = CODE_64B66B then
        if bit_count >= 66 then
          bit_count := 0;
          hdr_ok := win(65) /= win(64);
          for j in 0 to 63 loop
            rbit := win(63 - j);
            payload(j) := rbit xor scr(38) xor scr(57);
            scr := scr(56 downto 0) & rbit;
          end loop;
          if not is_aligned then
            if hdr_ok then
              good_hdrs := good_hdrs + 1;
            else
              good_hdrs := 0;
              bit_count := -1;  -- slip: the next block starts one bit later
            end if;
            if good_hdrs >= 32 then
              is_aligned := true;
              hdrs := 0; bad_hdrs := 0;
              realign;
            end if;
          else
            hdrs := hdrs + 1;
            if not hdr_ok then
              bad_hdrs := bad_hdrs + 1;
            end if;
            if bad_hdrs >= 16 then
              is_aligned := false;
              was_lost   := true;
              good_hdrs  := 0;
              realign;
            elsif hdrs >= 64 then
              hdrs := 0; bad_hdrs := 0;
            end if;
            for w in 0 to RX_UNIT_WORDS - 1 loop
              for j in 0 to RX_DATA_WIDTH - 1 loop
                w_data(j) := payload(w * RX_DATA_WIDTH + j);
              end loop;
              if w = 0 and hdr_ok and win(65) = '1' then w_ctrl(0) := '1'; end if;
              if w = 0 and not hdr_ok then w_bad(0) := '1'; end if;
              push_word;
            end loop;
          end if;
        end if;
      else
        w_data(bit_count - 1) := b;
        if bit_count >= RX_DATA_WIDTH then
          bit_count := 0;
          push_word;
        end if;
      end if;
    end procedure;
  begin
    rx_reset;
    publish;
    loop
      if not have_edge or not locked then
        -- Waits for the next edge (after its time was taken) and the lock.
        if not (edges /= edges_seen and locked) then
          wait until edges /= edges_seen and locked;
        end if;
        edges_seen := edges;
        have_edge  := true;
      else
        -- The first mid-bit point after the latest edge that lies more than
        -- half a bit after the previous sample.
        edge_ps  := to_ps(last_edge);
        t_sample := edge_ps + 0.5 * BIT_PS + (floor((last_sample - edge_ps) / BIT_PS) + 1.0) * BIT_PS;
        if t_sample < edge_ps + 0.5 * BIT_PS then
          t_sample := edge_ps + 0.5 * BIT_PS;
        end if;
        wait_to(from_ps(t_sample));
        last_sample := to_ps(now);
        if RXRESET = '1' then
          rx_reset;
        elsif rx_line = '0' or rx_line = '1' then
          if RXPOLARITY = '1' then
            rx_bit(not rx_line);
          else
            rx_bit(rx_line);
          end if;
        else
          have_edge  := false;
          edges_seen := edges;
        end if;
        publish;
      end if;
    end loop;
  end process;

  ---- Receive buffer, read by the fabric ---------------------------------------------
  RXDATA     <= rxdata_q(63 downto 0);
  RXISCTRL   <= rxctrl_q(7 downto 0);
  RXRDERR    <= rxrderr_q(7 downto 0);
  RXBADCODE  <= rxbad_q(7 downto 0);
  RXFIFOSTAT <= rxfifostat_q;
  RXSYNCLOST <= lost & not aligned;

  rx_read : process (RXFABCLK)
    variable rd         : integer := 0;
    variable seen_epoch : integer := 0;
    variable started    : boolean := false;
    variable reported   : boolean := false;
  begin
    if rising_edge(RXFABCLK) then
      rxfifostat_q <= "00";
      if RXRESET = '1' or seen_epoch /= rx_epoch then
        seen_epoch := rx_epoch;
        if RXRESET = '1' then rd := rx_wr; else rd := rx_epoch_wr; end if;
        started := false;
      end if;
      if rx_wr - rd > RX_DEPTH then
        rxfifostat_q <= "11";
        rd      := rx_wr;
        started := false;
        if CLK_COMP = "TRUE" and not reported then
          report HSX10'path_name & ": receive buffer full: RXFABCLK is slower than the line, " &
            "and clock correction is not modelled" severity error;
        end if;
        reported := true;
      end if;
      if not started and rx_wr - rd >= 1 then
        started := true;
      end if;
      if started then
        if rx_wr - rd >= 1 then
          rxdata_q  <= rxb_data(rd mod RX_DEPTH);
          rxctrl_q  <= rxb_ctrl(rd mod RX_DEPTH);
          rxrderr_q <= rxb_rderr(rd mod RX_DEPTH);
          rxbad_q   <= rxb_bad(rd mod RX_DEPTH);
          rd := rd + 1;
        else
          rxfifostat_q <= "11";
          started := false;
          if CLK_COMP = "TRUE" and not reported then
            report HSX10'path_name & ": receive buffer empty: RXFABCLK is faster than the line, " &
              "and clock correction is not modelled" severity error;
          end if;
          reported := true;
        end if;
      end if;
    end if;
  end process;
end architecture model;
