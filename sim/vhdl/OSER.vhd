-- Simulation model of OSER, the output serializer.
--
-- A word of DATA_WIDTH bits on D is taken on each rising edge of CLKWORD and
-- sent on DOUT from the first rising edge of CLK after that CLKWORD edge, bit
-- D(0) first: one bit per CLK cycle (DATA_RATE_OUT SDR, on rising edges) or
-- two (DDR, on rising and falling edges). CLK must run at DATA_WIDTH (SDR) or
-- DATA_WIDTH / 2 (DDR) times the CLKWORD frequency, edge-aligned with it.
-- Latency: D taken at CLKWORD edge n, bit 0 appears on DOUT one CLK period
-- later.
--
-- Cascade (DATA_WIDTH 10, DDR): the master carries the word's bits 0 to 7 on
-- D, the slave bits 8 and 9 on D(1 downto 0); the slave passes them on
-- CASC_DOUT1 and CASC_DOUT2 to the master's CASC_DIN1 and CASC_DIN2, and the
-- master sends all ten. A slave's DOUT stays at OUT_INIT.
--
-- Tristate path: DATA_RATE_TRI BUF passes T(0) to TOUT; SDR and DDR take T
-- with the word and send T(i) with data bit i (TRI_WIDTH 4; the last bits of
-- a wider word keep T(3)) or T(0) for the whole word (TRI_WIDTH 1), while
-- TOUT_EN is high. DOUT_EN low holds DOUT. RST (asynchronous) drives
-- OUT_RESET_VAL on DOUT and waits for the next CLKWORD edge.
library ieee;
use ieee.std_logic_1164.all;

entity OSER is
  generic (
    DATA_RATE_OUT : string  := "DDR";
    DATA_RATE_TRI : string  := "DDR";
    DATA_WIDTH    : integer := 4;
    TRI_WIDTH     : integer := 4;
    CASCADE_ROLE  : string  := "MASTER";
    OUT_INIT      : integer := 0;
    OUT_RESET_VAL : integer := 0;
    LOC           : string  := ""
  );
  port (
    CLK        : in  std_logic := '0';
    CLKWORD    : in  std_logic := '0';
    D          : in  std_logic_vector(7 downto 0) := (others => '0');
    T          : in  std_logic_vector(3 downto 0) := (others => '0');
    DOUT_EN    : in  std_logic := '0';
    TOUT_EN    : in  std_logic := '0';
    RST        : in  std_logic := '0';
    CASC_DIN1  : in  std_logic := '0';
    CASC_DIN2  : in  std_logic := '0';
    DOUT       : out std_logic;
    TOUT       : out std_logic;
    CASC_DOUT1 : out std_logic;
    CASC_DOUT2 : out std_logic
  );
end entity OSER;

architecture model of OSER is
  constant DDR    : boolean := DATA_RATE_OUT = "DDR";
  constant SLAVE  : boolean := CASCADE_ROLE = "SLAVE";
  constant TRIBUF : boolean := DATA_RATE_TRI = "BUF";

  function bit_of(value : integer) return std_logic is
  begin
    if value = 1 then
      return '1';
    end if;
    return '0';
  end function;

  signal word_q  : std_logic_vector(7 downto 0) := (others => '0');  -- D taken at CLKWORD
  signal t_q     : std_logic_vector(3 downto 0) := (others => '0');  -- T taken at CLKWORD
  signal dout_q  : std_logic := bit_of(OUT_INIT);
  signal tout_q  : std_logic := '0';
  -- CLKWORD 1 ps late: a CLKWORD edge at a CLK edge is seen at the next one.
  signal cw_late : std_logic := '0';
begin
  DOUT       <= bit_of(OUT_INIT) when SLAVE else dout_q;
  TOUT       <= T(0) when TRIBUF else tout_q;
  CASC_DOUT1 <= word_q(0) when SLAVE else '0';
  CASC_DOUT2 <= word_q(1) when SLAVE else '0';

  check : process
  begin
    if DATA_RATE_OUT /= "SDR" and not DDR then
      report OSER'path_name & ": DATA_RATE_OUT """ & DATA_RATE_OUT & """ is not SDR or DDR" severity error;
    end if;
    if not TRIBUF and DATA_RATE_TRI /= "SDR" and DATA_RATE_TRI /= "DDR" then
      report OSER'path_name & ": DATA_RATE_TRI """ & DATA_RATE_TRI & """ is not BUF, SDR or DDR" severity error;
    end if;
    if (DDR and DATA_WIDTH /= 4 and DATA_WIDTH /= 6 and DATA_WIDTH /= 8 and DATA_WIDTH /= 10) or
       (not DDR and (DATA_WIDTH < 2 or DATA_WIDTH > 8)) then
      report OSER'path_name & ": DATA_WIDTH " & integer'image(DATA_WIDTH) & " is not a width of " &
        DATA_RATE_OUT severity error;
    end if;
    if TRI_WIDTH /= 1 and TRI_WIDTH /= 4 then
      report OSER'path_name & ": TRI_WIDTH " & integer'image(TRI_WIDTH) & " is not 1 or 4" severity error;
    end if;
    if CASCADE_ROLE /= "MASTER" and not SLAVE then
      report OSER'path_name & ": CASCADE_ROLE """ & CASCADE_ROLE & """ is not MASTER or SLAVE" severity error;
    end if;
    if OUT_INIT /= 0 and OUT_INIT /= 1 then
      report OSER'path_name & ": OUT_INIT " & integer'image(OUT_INIT) & " is not 0 or 1" severity error;
    end if;
    if OUT_RESET_VAL /= 0 and OUT_RESET_VAL /= 1 then
      report OSER'path_name & ": OUT_RESET_VAL " & integer'image(OUT_RESET_VAL) & " is not 0 or 1"
        severity error;
    end if;
    wait;
  end process;

  cw_late <= transport CLKWORD after 1 ps;

  take_word : process (CLKWORD, RST)
  begin
    if RST = '1' then
      word_q <= (others => '0');
      t_q    <= (others => '0');
    elsif rising_edge(CLKWORD) then
      word_q <= D;
      t_q    <= T;
    end if;
  end process;

  send : process (CLK, RST)
    variable shift   : std_logic_vector(9 downto 0) := (others => '0');
    variable tshift  : std_logic_vector(3 downto 0) := (others => '0');
    variable index   : integer := DATA_WIDTH;  -- next bit of shift to send
    variable cw_prev : std_logic := '1';

    procedure send_bit is
    begin
      if index < DATA_WIDTH then
        if DOUT_EN = '1' then
          dout_q <= shift(index);
        end if;
        if TOUT_EN = '1' and not TRIBUF then
          if TRI_WIDTH = 1 then
            tout_q <= tshift(0);
          elsif index < 4 then
            tout_q <= tshift(index);
          else
            tout_q <= tshift(3);
          end if;
        end if;
        index := index + 1;
      end if;
    end procedure;
  begin
    if RST = '1' then
      dout_q  <= bit_of(OUT_RESET_VAL);
      index   := DATA_WIDTH;
      cw_prev := '1';
    elsif rising_edge(CLK) then
      if cw_late = '1' and cw_prev /= '1' then
        shift := "00" & word_q;
        if DATA_WIDTH > 8 then
          shift(9 downto 8) := CASC_DIN2 & CASC_DIN1;
        end if;
        tshift := t_q;
        index  := 0;
      end if;
      cw_prev := cw_late;
      send_bit;
    elsif falling_edge(CLK) and DDR then
      send_bit;
    end if;
  end process;
end architecture model;
