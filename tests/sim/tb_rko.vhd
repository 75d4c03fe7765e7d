-- The phase-locked loops against periods, phases and duty cycles worked out
-- by hand, lock after 32 input cycles, its loss and the relock; the same
-- configurations and values as tb_rko.v:
--   a: RKO_BASE, 10 ns input, x 8 / 1: VCO 1.25 ns. Outputs / 4 at 90 deg,
--      / 10 at -45 deg with 25 % duty, / 3, / 16 at 180 deg, / 128 at 360 deg
--      with 99 % duty, / 1; CLKFBOUT 10 ns. RELOCK_RESET TRUE.
--   b: RKO_ADV on CLKIN1, 8 ns input, x 5 / 2: VCO 3.2 ns; CLKFBOUT at 90
--      deg of its 16 ns moves every output 4 ns earlier. RELOCK_RESET FALSE;
--      then INSEL low switches to the 20 ns CLKIN2.
library ieee;
use ieee.std_logic_1164.all;

entity tb_rko is
end entity tb_rko;

architecture test of tb_rko is
    signal clk_a, clk_b, clk_b2 : std_logic := '0';
    signal rst, insel : std_logic := '1';
    signal stop : boolean := false;
    signal a, b : std_logic_vector(6 downto 0);
    signal lock_a, lock_b : std_logic;
    signal outs : std_logic_vector(13 downto 0);
    signal locks : std_logic_vector(1 downto 0);
    type oks is array (0 to 13) of boolean;
    signal ok : oks;
    signal edges_a : integer := 0;

    type probe_row is record
        period, high, offset : time;
    end record;
    type probe_table is array (0 to 13) of probe_row;
    constant EXPECTED : probe_table := (
        (5 ns, 2.5 ns, 1.25 ns), (12.5 ns, 3.125 ns, 10.9375 ns), (3.75 ns, 1.875 ns, 0 ns),
        (20 ns, 10 ns, 10 ns), (160 ns, 158.4 ns, 0 ns), (1.25 ns, 0.625 ns, 0 ns), (10 ns, 5 ns, 0 ns),
        (6.4 ns, 3.2 ns, 2.4 ns), (16 ns, 8 ns, 14 ns), (38.4 ns, 19.2 ns, 34.4 ns), (12.8 ns, 6.4 ns, 8.8 ns),
        (76.8 ns, 38.4 ns, 72.8 ns), (6.4 ns, 3.2 ns, 2.4 ns), (16 ns, 8 ns, 0 ns));
begin
    clk_a <= not clk_a after 5 ns when not stop else clk_a;
    clk_b <= not clk_b after 4 ns when not stop else clk_b;
    clk_b2 <= not clk_b2 after 10 ns;

    dut_a : entity work.RKO_BASE
        generic map (INCLK_PERIOD => 10.0, FBCLKOUT_MULT => 8,
                     CLKOUT0_DIVIDE => 4, CLKOUT0_PHASE => 90.0,
                     CLKOUT1_DIVIDE => 10, CLKOUT1_PHASE => -45.0, CLKOUT1_DUTY => 0.25,
                     CLKOUT2_DIVIDE => 3,
                     CLKOUT3_DIVIDE => 16, CLKOUT3_PHASE => 180.0,
                     CLKOUT4_DIVIDE => 128, CLKOUT4_PHASE => 360.0, CLKOUT4_DUTY => 0.99,
                     CLKOUT5_DIVIDE => 1, RELOCK_RESET => "TRUE")
        port map (CLKIN => clk_a, CLKFBIN => a(6), RST => rst, CLKFBOUT => a(6),
                  CLKOUT0 => a(0), CLKOUT1 => a(1), CLKOUT2 => a(2), CLKOUT3 => a(3), CLKOUT4 => a(4),
                  CLKOUT5 => a(5), LOCKED => lock_a);
    dut_b : entity work.RKO_ADV
        generic map (INCLK1_PERIOD => 8.0, INCLK2_PERIOD => 20.0, REFCLK_DIV => 2, CLKFBOUT_MULT => 5,
                     CLKFBOUT_PHASE => 90.0, CLKOUT0_DIVIDE => 2, CLKOUT1_DIVIDE => 5, CLKOUT1_PHASE => 45.0)
        port map (CLKIN1 => clk_b, CLKIN2 => clk_b2, INSEL => insel, CLKFBIN => b(6), RST => rst,
                  CLKFBOUT => b(6), CLKOUT0 => b(0), CLKOUT1 => b(1), CLKOUT2 => b(2), CLKOUT3 => b(3),
                  CLKOUT4 => b(4), CLKOUT5 => b(5), LOCKED => lock_b, HOLD => '0', CFG_CLK => '0',
                  CFG_EN => '0', CFG_WE => '0', CFG_ADDR => (others => '0'), CFG_DIN => (others => '0'),
                  CFG_DOUT => open, CFG_RDY => open);

    outs <= b & a;
    locks <= lock_b & lock_a;
    probes : for i in 0 to 13 generate
        p : entity work.clk_probe
            generic map (NAME => "output " & integer'image(i mod 7) & " of dut " & integer'image(i / 7),
                         PERIOD => EXPECTED(i).period, HIGH => EXPECTED(i).high, OFFSET => EXPECTED(i).offset)
            port map (clk => outs(i), start => locks(i / 7), ok => ok(i));
    end generate;

    process (clk_a)
    begin
        if rising_edge(clk_a) and rst = '0' then
            edges_a <= edges_a + 1;
        end if;
    end process;

    main : process
        variable failures : natural := 0;
        variable r1 : time;
        procedure fail(msg : string) is
        begin
            report "FAIL: " & msg;
            failures := failures + 1;
        end procedure;
    begin
        wait for 15 ns;
        rst <= '0';
        -- LOCKED first rises on the 32nd rising input edge after reset.
        wait until rising_edge(lock_a);
        if edges_a /= 32 then
            fail("a LOCKED rose on input edge " & integer'image(edges_a) & ", expected 32");
        end if;
        wait for 800 ns;
        for i in ok'range loop
            if not ok(i) then
                fail("clock check " & integer'image(i));
            end if;
        end loop;
        -- The inputs stop for 20 ns: LOCKED and the outputs fall within 1.5
        -- input periods. Then a takes its lock again 32 edges later
        -- (RELOCK_RESET TRUE); b, on the same fault, waits for RST.
        wait until rising_edge(clk_a);
        stop <= true;
        wait for 17 ns;
        if lock_a /= '0' or lock_b /= '0' or a /= "0000000" or b /= "0000000" then
            fail("a stopped input kept LOCKED or the outputs");
        end if;
        wait for 3 ns;
        stop <= false;
        wait for 30 ns;
        if lock_a /= '0' or lock_b /= '0' or a /= "0000000" or b /= "0000000" then
            fail("a wrong input period kept LOCKED or the outputs");
        end if;
        wait for 400 ns;
        if lock_a /= '1' or lock_b /= '0' then
            fail("after the fault LOCKED is wrong (a relocks, b does not)");
        end if;
        -- RST drops everything at once.
        wait until rising_edge(a(5));
        rst <= '1' after 1 ps;
        wait for 2 ps;
        if lock_a /= '0' or a /= "0000000" then
            fail("reset left LOCKED or outputs high");
        end if;
        -- b on CLKIN2 (20 ns, / 1 x 5 / 2): CLKFBOUT of 40 ns after relock.
        insel <= '0';
        wait for 20 ns;
        rst <= '0';
        wait for 800 ns;
        wait until rising_edge(b(6));
        r1 := now;
        wait until rising_edge(b(6));
        if lock_b /= '1' or now - r1 /= 40 ns then
            fail("b on CLKIN2: CLKFBOUT period " & time'image(now - r1) & ", expected 40 ns");
        end if;
        if failures = 0 then
            report "PASS";
        else
            report "FAIL";
        end if;
        std.env.finish;
    end process;
end architecture test;
