-- Simulation model of ISER, the input deserializer.
--
-- D is sampled on each rising edge of CLK (DATA_RATE SDR) or on each rising
-- and falling edge (DDR; CAPTURE_KIND MEMORY takes the second bit on the
-- rising edge of CLKB instead of the falling edge of CLK, once CLKB toggles). The first rising
-- edge of CLK after a rising edge of CLKWORD starts a word: at that edge Q
-- takes the DATA_WIDTH bits sampled before it, the earliest in Q(0), and the
-- bit sampled at that edge is bit 0 of the next word. CLK must run at
-- DATA_WIDTH (SDR) or DATA_WIDTH / 2 (DDR) times the CLKWORD frequency,
-- edge-aligned with it. Latency: bit 0 of a word sampled at the CLK edge one
-- period after CLKWORD edge n is in Q one CLK period after CLKWORD edge n+1,
-- stable at edge n+2.
--
-- WORD_ALIGN TRUE: each rising edge of CLKWORD with ALIGN high moves the word
-- boundary one bit earlier (after DATA_WIDTH moves it is back). CE low holds
-- Q; with CE_COUNT 2, CE acts one CLKWORD cycle late. PAD_DELAY sets input
-- timing only and changes nothing here. RST (asynchronous) clears Q and the
-- boundary moves.
--
-- Cascade (DATA_WIDTH 10, DDR): the master samples all ten bits, shows bits
-- 0 to 7 on Q and passes bits 8 and 9 on CASC_DOUT1 and CASC_DOUT2 to the
-- slave's CASC_DIN1 and CASC_DIN2, which the slave shows on Q(1 downto 0).
library ieee;
use ieee.std_logic_1164.all;

entity ISER is
  generic (
    CAPTURE_KIND : string  := "NETWORKING";
    DATA_RATE    : string  := "DDR";
    DATA_WIDTH   : integer := 4;
    CASCADE_ROLE : string  := "MASTER";
    WORD_ALIGN   : string  := "FALSE";
    CE_COUNT     : integer := 1;
    PAD_DELAY    : string  := "CAPTURE_REG";
    LOC          : string  := ""
  );
  port (
    D          : in  std_logic := '0';
    CLK        : in  std_logic := '0';
    CLKB       : in  std_logic := '0';
    CLKWORD    : in  std_logic := '0';
    CE         : in  std_logic := '0';
    RST        : in  std_logic := '0';
    ALIGN      : in  std_logic := '0';
    CASC_DIN1  : in  std_logic := '0';
    CASC_DIN2  : in  std_logic := '0';
    Q          : out std_logic_vector(7 downto 0);
    CASC_DOUT1 : out std_logic;
    CASC_DOUT2 : out std_logic
  );
end entity ISER;

architecture model of ISER is
  constant DDR    : boolean := DATA_RATE = "DDR";
  constant MEMORY : boolean := CAPTURE_KIND = "MEMORY";
  constant SLAVE  : boolean := CASCADE_ROLE = "SLAVE";

  signal word_q  : std_logic_vector(9 downto 0) := (others => '0');
  signal slip    : integer range 0 to 9 := 0;
  signal ce_late : std_logic := '0';
  -- CLKWORD 1 ps late: a CLKWORD edge at a CLK edge is seen at the next one.
  signal cw_late : std_logic := '0';
begin
  Q          <= "000000" & CASC_DIN2 & CASC_DIN1 when SLAVE else word_q(7 downto 0);
  CASC_DOUT1 <= '0' when SLAVE else word_q(8);
  CASC_DOUT2 <= '0' when SLAVE else word_q(9);

  check : process
  begin
    if DATA_RATE /= "SDR" and not DDR then
      report ISER'path_name & ": DATA_RATE """ & DATA_RATE & """ is not SDR or DDR" severity error;
    end if;
    if CAPTURE_KIND /= "NETWORKING" and not MEMORY then
      report ISER'path_name & ": CAPTURE_KIND """ & CAPTURE_KIND & """ is not MEMORY or NETWORKING"
        severity error;
    end if;
    if (DDR and DATA_WIDTH /= 4 and DATA_WIDTH /= 6 and DATA_WIDTH /= 8 and DATA_WIDTH /= 10) or
       (not DDR and (DATA_WIDTH < 2 or DATA_WIDTH > 8)) then
      report ISER'path_name & ": DATA_WIDTH " & integer'image(DATA_WIDTH) & " is not a width of " &
        DATA_RATE severity error;
    end if;
    if CASCADE_ROLE /= "MASTER" and not SLAVE then
      report ISER'path_name & ": CASCADE_ROLE """ & CASCADE_ROLE & """ is not MASTER or SLAVE" severity error;
    end if;
    if WORD_ALIGN /= "TRUE" and WORD_ALIGN /= "FALSE" then
      report ISER'path_name & ": WORD_ALIGN """ & WORD_ALIGN & """ is not TRUE or FALSE" severity error;
    end if;
    if CE_COUNT /= 1 and CE_COUNT /= 2 then
      report ISER'path_name & ": CE_COUNT " & integer'image(CE_COUNT) & " is not 1 or 2" severity error;
    end if;
    if PAD_DELAY /= "NONE" and PAD_DELAY /= "IBUF" and PAD_DELAY /= "CAPTURE_REG" and PAD_DELAY /= "BOTH" then
      report ISER'path_name & ": PAD_DELAY """ & PAD_DELAY & """ is not NONE, IBUF, CAPTURE_REG or BOTH"
        severity error;
    end if;
    wait;
  end process;

  cw_late <= transport CLKWORD after 1 ps;

  word_clock : process (CLKWORD, RST)
  begin
    if RST = '1' then
      slip    <= 0;
      ce_late <= '0';
    elsif rising_edge(CLKWORD) then
      ce_late <= CE;
      if WORD_ALIGN = "TRUE" and ALIGN = '1' then
        slip <= (slip + 1) mod DATA_WIDTH;
      end if;
    end if;
  end process;

  capture : process (CLK, CLKB, RST)
    variable samples : std_logic_vector(19 downto 0) := (others => '0');  -- the latest in bit 19
    variable cw_prev : std_logic := '1';
    variable ce_now  : std_logic;
    variable clkb_seen : boolean := false;  -- CLKB toggles (a tied CLKB leaves the second bit to CLK)
  begin
    if RST = '1' then
      samples := (others => '0');
      word_q  <= (others => '0');
      cw_prev := '1';
    else
      if rising_edge(CLKB) then
        clkb_seen := true;
      end if;
      if rising_edge(CLK) then
        if CE_COUNT = 2 then
          ce_now := ce_late;
        else
          ce_now := CE;
        end if;
        if cw_late = '1' and cw_prev /= '1' and ce_now = '1' then
          -- The DATA_WIDTH bits before this edge, moved `slip` bits earlier.
          for i in 0 to 9 loop
            if i < DATA_WIDTH then
              word_q(i) <= samples(20 - DATA_WIDTH - slip + i);
            else
              word_q(i) <= '0';
            end if;
          end loop;
        end if;
        cw_prev := cw_late;
        samples := D & samples(19 downto 1);
      end if;
      if DDR and ((MEMORY and clkb_seen and rising_edge(CLKB)) or
                  (not (MEMORY and clkb_seen) and falling_edge(CLK))) then
        samples := D & samples(19 downto 1);
      end if;
    end if;
  end process;
end architecture model;
