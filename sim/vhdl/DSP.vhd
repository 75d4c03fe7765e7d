-- Simulation model of DSP, the pipelined 18x18 multiplier block.
--
-- Function: P is the product of A and B, on the low A_WIDTH bits of A and
-- the low B_WIDTH bits of B, each taken as signed (two's complement) or
-- unsigned after A_SIGNED and B_SIGNED, extended to the 48 bits of P (bits
-- above P_WIDTH repeat the product's sign or are zero). CASC_OUT carries P,
-- BCASC_OUT the B operand after its registers.
-- Pipeline: A passes A_PIPE registers (0 to 2), B passes B_PIPE registers,
-- the product M_PIPE and P_PIPE registers, all clocked by the rising edge of
-- CLK and enabled by CE; the paths are delayed independently: the latency
-- is A_PIPE + M_PIPE + P_PIPE cycles from A, B_PIPE + M_PIPE + P_PIPE from
-- B. RST clears every register: with RESET_TYPE SYNC on
-- the rising edge of CLK (CE need not be high), with ASYNC at once.
-- Only OPERATION_MODE MULTIPLY is modelled, the mode the multiplier wizard
-- sets: any other mode is reported as an error at time 0, and so is
-- B_SOURCE CASCADE (the block has no cascade input for B). C, SEL, ADDSUB,
-- LOAD, CIN, OPSEL and CASC_IN, and the attributes C_WIDTH, ADD_SUB_MODE,
-- C_PIPE, OPSEL_PIPE and CIN_PIPE serve the other modes: their values are
-- checked, they have no effect.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity DSP is
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
end entity DSP;

architecture model of DSP is
    constant A_SGN : boolean := A_SIGNED = "TRUE";
    constant B_SGN : boolean := B_SIGNED = "TRUE";
    constant ASYNC : boolean := RESET_TYPE = "ASYNC";

    -- An operand's used bits, extended to 48 bits after its signedness.
    function extend(v : std_logic_vector(17 downto 0); width : integer; sgn : boolean) return unsigned is
        variable r : unsigned(47 downto 0);
    begin
        for i in 0 to 47 loop
            if i < width then
                r(i) := v(i);
            elsif sgn then
                r(i) := v(width - 1);
            else
                r(i) := '0';
            end if;
        end loop;
        return r;
    end function;

    signal a1, a2, b1, b2 : std_logic_vector(17 downto 0) := (others => '0');
    signal m_q, p_q : std_logic_vector(47 downto 0) := (others => '0');
    signal a_op, b_op : std_logic_vector(17 downto 0);
    signal product, m_out, p_out : std_logic_vector(47 downto 0);
begin
    check : process
        constant NAME : string := "DSP " & DSP'path_name & ": ";
        procedure range_check(what : string; value, low, high : integer) is
        begin
            if value < low or value > high then
                report NAME & what & " = " & integer'image(value) & " is outside " & integer'image(low) & " to " &
                    integer'image(high) severity error;
            end if;
        end procedure;
    begin
        if OPERATION_MODE /= "MULTIPLY" and OPERATION_MODE /= "MULTIPLY_ACCUMULATE" and
           OPERATION_MODE /= "ADD_SUBTRACT" and OPERATION_MODE /= "ACCUMULATE" and
           OPERATION_MODE /= "MULTIPLEXER" and OPERATION_MODE /= "COUNTER" then
            report NAME & "OPERATION_MODE = """ & OPERATION_MODE &
                """ is none of MULTIPLY, MULTIPLY_ACCUMULATE, ADD_SUBTRACT, ACCUMULATE, MULTIPLEXER, COUNTER"
                severity error;
        elsif OPERATION_MODE /= "MULTIPLY" then
            report NAME & "OPERATION_MODE = """ & OPERATION_MODE & """ is not modelled (only MULTIPLY is)"
                severity error;
        end if;
        if B_SOURCE = "CASCADE" then
            report NAME & "B_SOURCE = ""CASCADE"" is not modelled (no cascade input for B)" severity error;
        elsif B_SOURCE /= "DIRECT" then
            report NAME & "B_SOURCE = """ & B_SOURCE & """ is neither DIRECT nor CASCADE" severity error;
        end if;
        if (A_SIGNED /= "TRUE" and A_SIGNED /= "FALSE") or (B_SIGNED /= "TRUE" and B_SIGNED /= "FALSE") then
            report NAME & "A_SIGNED = """ & A_SIGNED & """ and B_SIGNED = """ & B_SIGNED &
                """ must each be TRUE or FALSE" severity error;
        end if;
        if ADD_SUB_MODE /= "ADD" and ADD_SUB_MODE /= "SUBTRACT" and ADD_SUB_MODE /= "DYNAMIC" then
            report NAME & "ADD_SUB_MODE = """ & ADD_SUB_MODE & """ is none of ADD, SUBTRACT, DYNAMIC"
                severity error;
        end if;
        if RESET_TYPE /= "SYNC" and RESET_TYPE /= "ASYNC" then
            report NAME & "RESET_TYPE = """ & RESET_TYPE & """ is neither SYNC nor ASYNC" severity error;
        end if;
        range_check("A_WIDTH", A_WIDTH, 2, 18);
        range_check("B_WIDTH", B_WIDTH, 2, 18);
        range_check("C_WIDTH", C_WIDTH, 2, 48);
        range_check("P_WIDTH", P_WIDTH, 2, 48);
        range_check("A_PIPE", A_PIPE, 0, 2);
        range_check("B_PIPE", B_PIPE, 0, 2);
        range_check("C_PIPE", C_PIPE, 0, 1);
        range_check("M_PIPE", M_PIPE, 0, 1);
        range_check("P_PIPE", P_PIPE, 0, 1);
        range_check("OPSEL_PIPE", OPSEL_PIPE, 0, 1);
        range_check("CIN_PIPE", CIN_PIPE, 0, 1);
        wait;
    end process;

    a_op <= A when A_PIPE = 0 else a1 when A_PIPE = 1 else a2;
    b_op <= B when B_PIPE = 0 else b1 when B_PIPE = 1 else b2;
    product <= std_logic_vector(resize(extend(a_op, A_WIDTH, A_SGN) * extend(b_op, B_WIDTH, B_SGN), 48));
    m_out <= m_q when M_PIPE = 1 else product;
    p_out <= p_q when P_PIPE = 1 else m_out;

    -- The registers: cleared by RST (synchronously or at once), loaded on the
    -- rising edge of CLK while CE is high.
    regs : process (CLK, RST)
        procedure clear is
        begin
            a1 <= (others => '0');
            a2 <= (others => '0');
            b1 <= (others => '0');
            b2 <= (others => '0');
            m_q <= (others => '0');
            p_q <= (others => '0');
        end procedure;
    begin
        if ASYNC and RST = '1' then
            clear;
        elsif rising_edge(CLK) then
            if RST = '1' then
                clear;
            elsif CE = '1' then
                a1 <= A;
                a2 <= a1;
                b1 <= B;
                b2 <= b1;
                m_q <= product;
                p_q <= m_out;
            end if;
        end if;
    end process;

    P <= p_out;
    CASC_OUT <= p_out;
    BCASC_OUT <= b_op;
end architecture model;
