-- Wrapper of design 'core'.
library ieee;
use ieee.std_logic_1164.all;

entity core is
    port (
        sys_clk_in : in std_logic;
        sys_rst : in std_logic;
        pll_locked : out std_logic;
        clk_200 : out std_logic;
        clk_100_90 : out std_logic;
        clk_25 : out std_logic;
        clk_25_ce : in std_logic
    );
end entity core;

architecture structure of core is

    component RKO_ADV is
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
    end component RKO_ADV;

    component KBUFG is
        port (
            I : in std_logic := '0';
            O : out std_logic
        );
    end component KBUFG;

    component KBUFGCE is
        generic (
            CE_TYPE : string := "SYNC"
        );
        port (
            I : in std_logic := '0';
            CE : in std_logic := '0';
            O : out std_logic
        );
    end component KBUFGCE;

    signal CLKFBOUT_OUT : std_logic;
    signal CLKOUT0_PLL : std_logic;
    signal CLKOUT1_PLL : std_logic;
    signal CLKOUT2_PLL : std_logic;

begin

    RKO_ADV_inst : RKO_ADV
        generic map (
            INCLK1_PERIOD => 20.000,
            LOOP_BW => "OPTIMIZED",
            DESKEW_PATH => "SYSTEM_SYNCHRONOUS",
            REFCLK_DIV => 1,
            CLKFBOUT_MULT => 20,
            CLKFBOUT_PHASE => 0.000,
            CLKOUT0_DIVIDE => 5,
            CLKOUT0_PHASE => 0.000,
            CLKOUT0_DUTY => 0.50,
            CLKOUT1_DIVIDE => 10,
            CLKOUT1_PHASE => 90.000,
            CLKOUT1_DUTY => 0.50,
            CLKOUT2_DIVIDE => 40,
            CLKOUT2_PHASE => 0.000,
            CLKOUT2_DUTY => 0.50,
            CLKOUT3_DIVIDE => 4,
            CLKOUT3_PHASE => 0.000,
            CLKOUT3_DUTY => 0.50,
            CLKOUT4_DIVIDE => 24,
            CLKOUT4_PHASE => 0.000,
            CLKOUT4_DUTY => 0.50,
            CLKOUT5_DIVIDE => 2,
            CLKOUT5_PHASE => 0.000,
            CLKOUT5_DUTY => 0.50,
            RELOCK_RESET => "FALSE"
        )
        port map (
            CLKIN1 => sys_clk_in,
            CLKIN2 => '0',
            INSEL => '1',
            CLKFBIN => CLKFBOUT_OUT,
            RST => sys_rst,
            CLKFBOUT => CLKFBOUT_OUT,
            CLKOUT0 => CLKOUT0_PLL,
            CLKOUT1 => CLKOUT1_PLL,
            CLKOUT2 => CLKOUT2_PLL,
            CLKOUT3 => open,
            CLKOUT4 => open,
            CLKOUT5 => open,
            LOCKED => pll_locked,
            HOLD => '0',
            CFG_CLK => '0',
            CFG_EN => '0',
            CFG_WE => '0',
            CFG_ADDR => (others => '0'),
            CFG_DIN => (others => '0'),
            CFG_DOUT => open,
            CFG_RDY => open
        );

    KBUFG_CLKOUT0 : KBUFG
        port map (
            I => CLKOUT0_PLL,
            O => clk_200
        );

    KBUFG_CLKOUT1 : KBUFG
        port map (
            I => CLKOUT1_PLL,
            O => clk_100_90
        );

    KBUFGCE_CLKOUT2 : KBUFGCE
        generic map (
            CE_TYPE => "SYNC"
        )
        port map (
            I => CLKOUT2_PLL,
            CE => clk_25_ce,
            O => clk_25
        );

end architecture structure;
