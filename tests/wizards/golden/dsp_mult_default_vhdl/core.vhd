-- Wrapper of design 'core'.
library ieee;
use ieee.std_logic_1164.all;

entity core is
    port (
        A : in std_logic_vector(17 downto 0);
        B : in std_logic_vector(17 downto 0);
        P : out std_logic_vector(35 downto 0);
        CLK : in std_logic;
        CE : in std_logic;
        RST : in std_logic
    );
end entity core;

architecture structure of core is

    component DSP is
        generic (
            OPERATION_MODE : string := "MULTIPLY";
            A_WIDTH : integer := 18;
            B_WIDTH : integer := 18;
            C_WIDTH : integer := 48;
            P_WIDTH : integer := 36;
            A_SIGNED : string := "TRUE";
            B_SIGNED : string := "TRUE";
            ADD_SUB_MODE : string := "ADD";
            A_PIPE : integer := 1;
            B_PIPE : integer := 1;
            C_PIPE : integer := 1;
            M_PIPE : integer := 1;
            P_PIPE : integer := 1;
            OPSEL_PIPE : integer := 0;
            CIN_PIPE : integer := 0;
            B_SOURCE : string := "DIRECT";
            RESET_TYPE : string := "SYNC";
            LOC : string := ""
        );
        port (
            A : in std_logic_vector(17 downto 0) := (others => '0');
            B : in std_logic_vector(17 downto 0) := (others => '0');
            C : in std_logic_vector(47 downto 0) := (others => '0');
            P : out std_logic_vector(47 downto 0);
            CLK : in std_logic := '0';
            CE : in std_logic := '0';
            RST : in std_logic := '0';
            SEL : in std_logic := '0';
            ADDSUB : in std_logic := '0';
            LOAD : in std_logic := '0';
            CIN : in std_logic := '0';
            OPSEL : in std_logic_vector(6 downto 0) := (others => '0');
            CASC_IN : in std_logic_vector(47 downto 0) := (others => '0');
            CASC_OUT : out std_logic_vector(47 downto 0);
            BCASC_OUT : out std_logic_vector(17 downto 0)
        );
    end component DSP;

    signal DSP_inst_P : std_logic_vector(47 downto 0);

begin

    DSP_inst : DSP
        generic map (
            OPERATION_MODE => "MULTIPLY",
            A_WIDTH => 18,
            B_WIDTH => 18,
            P_WIDTH => 36,
            A_SIGNED => "TRUE",
            B_SIGNED => "TRUE",
            ADD_SUB_MODE => "ADD",
            A_PIPE => 1,
            B_PIPE => 1,
            C_PIPE => 1,
            M_PIPE => 1,
            P_PIPE => 1,
            OPSEL_PIPE => 0,
            CIN_PIPE => 0,
            B_SOURCE => "DIRECT",
            RESET_TYPE => "SYNC"
        )
        port map (
            A => A,
            B => B,
            C => (others => '0'),
            P => DSP_inst_P,
            CLK => CLK,
            CE => CE,
            RST => RST,
            SEL => '0',
            ADDSUB => '0',
            LOAD => '0',
            CIN => '0',
            OPSEL => "0000101",
            CASC_IN => (others => '0'),
            CASC_OUT => open,
            BCASC_OUT => open
        );
    P <= DSP_inst_P(35 downto 0);

end architecture structure;
