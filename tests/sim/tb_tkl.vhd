-- The clock managers against periods, phases and duty cycles worked out by
-- hand, lock after 16 input cycles and its loss on reset; the same
-- configurations and values as tb_tkl.v:
--   a: TKL, 10 ns input, fixed shift of 64/256 (2.5 ns), CLKSLOW / 2.5,
--      CLKSYN x 5 / 2 (4 ns): rising edges at 12.5 ns after LOCKED rises
--      (taken modulo each period).
--   b: TKL_SP, 8 ns input halved inside (16 ns), fixed shift of -32/256
--      (-2 ns), CLKSLOW / 16, CLKSYN x 3 / 4: edges at 16 - 2 = 14 ns.
--   c: TKL_ADV, 10 ns input with a 30 % duty cycle passed through
--      (DUTY_FIX FALSE), TRACK_CENTER from 0, then four steps later.
library ieee;
use ieee.std_logic_1164.all;

entity tb_tkl is
end entity tb_tkl;

architecture test of tb_tkl is
    signal clk_a, clk_b, clk_c, shclk : std_logic := '0';
    signal rst : std_logic := '1';
    signal shen : std_logic := '0';
    signal stop_a : boolean := false;
    signal a, b, c : std_logic_vector(8 downto 0);
    signal lock_a, lock_b, lock_c, shdone : std_logic;
    signal status_a : std_logic_vector(7 downto 0);
    type oks is array (0 to 26) of boolean;
    signal ok : oks;
    signal edges_a : integer := 0;
    signal done : boolean := false;
    signal outs : std_logic_vector(26 downto 0);
    signal locks : std_logic_vector(2 downto 0);
    constant DUTS : string := "abc";

    type probe_row is record
        period, high, offset : time;
    end record;
    type probe_table is array (0 to 26) of probe_row;
    constant EXPECTED : probe_table := (
        (10 ns, 5 ns, 2.5 ns), (10 ns, 5 ns, 5 ns), (10 ns, 5 ns, 7.5 ns), (10 ns, 5 ns, 0 ns),
        (5 ns, 2.5 ns, 2.5 ns), (5 ns, 2.5 ns, 0 ns), (25 ns, 12.5 ns, 12.5 ns), (4 ns, 2 ns, 0.5 ns),
        (4 ns, 2 ns, 2.5 ns),
        (16 ns, 8 ns, 14 ns), (16 ns, 8 ns, 2 ns), (16 ns, 8 ns, 6 ns), (16 ns, 8 ns, 10 ns),
        (8 ns, 4 ns, 6 ns), (8 ns, 4 ns, 2 ns), (256 ns, 128 ns, 14 ns), (21333.333 ps, 10666.667 ps, -1 ns),
        (21333.333 ps, 10666.667 ps, -1 ns),
        (10 ns, 3 ns, 0 ns), (10 ns, 3 ns, 2.5 ns), (10 ns, 3 ns, 5 ns), (10 ns, 3 ns, 7.5 ns),
        (5 ns, 2.5 ns, 0 ns), (5 ns, 2.5 ns, 2.5 ns), (20 ns, 10 ns, 10 ns), (2.5 ns, 1.25 ns, 0 ns),
        (2.5 ns, 1.25 ns, 1.25 ns));
begin
    clk_a <= not clk_a after 5 ns when not done and not stop_a else clk_a when stop_a else '0';
    clk_b <= not clk_b after 4 ns when not done else '0';
    shclk <= not shclk after 1 ns when not done else '0';
    process
    begin
        while not done loop
            clk_c <= '1';
            wait for 3 ns;
            clk_c <= '0';
            wait for 7 ns;
        end loop;
        wait;
    end process;

    dut_a : entity work.TKL
        generic map (INCLK_PERIOD => 10.0, CLKSLOW_DIVIDE => 2.5, CLKSYN_MULT => 5, CLKSYN_DIVIDE => 2,
                     PHASE_MODE => "FIXED", PHASE_OFFSET => 64)
        port map (CLKIN => clk_a, CLKFB => a(0), RST => rst, SHCLK => '0', SHEN => '0', SHUPDN => '0',
                  CLK0 => a(0), CLK90 => a(1), CLK180 => a(2), CLK270 => a(3), CLKDBL => a(4), CLKDBL180 => a(5),
                  CLKSLOW => a(6), CLKSYN => a(7), CLKSYN180 => a(8), LOCKED => lock_a, STATUS => status_a,
                  SHDONE => open);
    dut_b : entity work.TKL_SP
        generic map (INCLK_PERIOD => 8.0, CLKIN_HALVE => "TRUE", CLKSLOW_DIVIDE => 16.0, CLKSYN_MULT => 3,
                     CLKSYN_DIVIDE => 4, PHASE_MODE => "FIXED", PHASE_OFFSET => -32, FEEDBACK_KIND => "NONE")
        port map (CLKIN => clk_b, CLKFB => '0', RST => rst,
                  CLK0 => b(0), CLK90 => b(1), CLK180 => b(2), CLK270 => b(3), CLKDBL => b(4), CLKDBL180 => b(5),
                  CLKSLOW => b(6), CLKSYN => b(7), CLKSYN180 => b(8), LOCKED => lock_b, STATUS => open);
    dut_c : entity work.TKL_ADV
        generic map (INCLK_PERIOD => 10.0, DUTY_FIX => "FALSE", PHASE_MODE => "TRACK_CENTER")
        port map (CLKIN => clk_c, CLKFB => c(0), RST => rst, SHCLK => shclk, SHEN => shen, SHUPDN => '1',
                  CLK0 => c(0), CLK90 => c(1), CLK180 => c(2), CLK270 => c(3), CLKDBL => c(4), CLKDBL180 => c(5),
                  CLKSLOW => c(6), CLKSYN => c(7), CLKSYN180 => c(8), LOCKED => lock_c, STATUS => open,
                  SHDONE => shdone, CFG_CLK => '0', CFG_EN => '0', CFG_WE => '0', CFG_ADDR => (others => '0'),
                  CFG_DIN => (others => '0'), CFG_DOUT => open, CFG_RDY => open);

    outs <= c & b & a;
    locks <= lock_c & lock_b & lock_a;
    probes : for i in 0 to 26 generate
        p : entity work.clk_probe
            generic map (NAME => "output " & integer'image(i mod 9) & " of " & DUTS(i / 9 + 1 to i / 9 + 1),
                         PERIOD => EXPECTED(i).period, HIGH => EXPECTED(i).high, OFFSET => EXPECTED(i).offset)
            port map (clk => outs(i), start => locks(i / 9), ok => ok(i));
    end generate;

    -- LOCKED rises on the 16th rising input edge after reset.
    process (clk_a)
    begin
        if rising_edge(clk_a) and rst = '0' then
            edges_a <= edges_a + 1;
        end if;
    end process;

    main : process
        variable failures : natural := 0;
        variable t_edge, moved : time;
        procedure fail(msg : string) is
        begin
            report "FAIL: " & msg;
            failures := failures + 1;
        end procedure;
    begin
        wait for 21 ns;
        rst <= '0';
        wait until rising_edge(lock_a);
        if edges_a /= 16 then
            fail("a LOCKED rose on input edge " & integer'image(edges_a) & ", expected 16");
        end if;
        wait for 800 ns;
        for i in ok'range loop
            if not ok(i) then
                fail("clock check " & integer'image(i));
            end if;
        end loop;
        -- Four steps later: CLK0 of c moves by 4 x 10 ns / 256.
        wait until rising_edge(c(0));
        t_edge := now;
        wait until rising_edge(shclk);
        shen <= '1' after 1 ps;
        for n in 1 to 4 loop
            wait until rising_edge(shclk);
        end loop;
        shen <= '0' after 1 ps;
        for n in 1 to 20 loop
            wait until rising_edge(c(0));
        end loop;
        moved := (now - t_edge) mod 10 ns;
        if moved < 156 ps or moved > 157 ps then
            fail("c CLK0 moved by " & time'image(moved) & " after four steps, expected 156.25 ps");
        end if;
        -- Reset: LOCKED and every output fall at once.
        wait until rising_edge(a(0));
        rst <= '1' after 1 ps;
        wait for 2 ps;
        if lock_a /= '0' or a /= "000000000" or lock_c /= '0' or c /= "000000000" then
            fail("reset left LOCKED or outputs high");
        end if;
        wait for 50 ns;
        if a /= "000000000" or b /= "000000000" then
            fail("outputs toggle during reset");
        end if;
        rst <= '0';
        wait for 200 ns;
        if lock_a /= '1' or status_a /= "00000000" then
            fail("a did not lock again after reset");
        end if;
        -- The input stops: within 1.5 input periods of its last rising edge
        -- LOCKED and the outputs fall and STATUS[1] rises; the late edge
        -- that follows keeps the lock lost.
        wait until rising_edge(clk_a);
        stop_a <= true;
        wait for 20 ns;
        if lock_a /= '0' or a /= "000000000" or status_a(1) /= '1' then
            fail("a kept its lock 20 ns after its input stopped");
        end if;
        stop_a <= false;
        wait for 30 ns;
        if lock_a /= '0' or status_a(1) /= '1' then
            fail("a kept its lock on a wrong input period");
        end if;
        if failures = 0 then
            report "PASS";
        else
            report "FAIL";
        end if;
        done <= true;
        std.env.finish;
        wait;
    end process;
end architecture test;
