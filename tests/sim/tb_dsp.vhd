-- The DSP model against products worked out in the testbench's own
-- arithmetic, on a stream of pseudo-random operands with clock-enable gaps
-- and resets; the same configurations as tb_dsp.v:
--   d0: 12-bit signed x 10-bit unsigned, no register: P follows at once
--       (the unused upper bits of A and B carry noise).
--   d1: 18-bit signed x signed, A/B 2 + M 1 + P 1 registers (latency 4),
--       synchronous reset.
--   d2: 18-bit unsigned x unsigned, A/B 1 + P 1 registers (latency 2),
--       asynchronous reset.
--   d3: 4-bit signed x signed, one register on A only: P = A one enabled
--       clock ago times B now.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use ieee.math_real.all;

entity tb_dsp is
end entity tb_dsp;

architecture test of tb_dsp is
    signal clk, rst : std_logic := '1';
    signal ce : std_logic := '1';
    signal a0, b0, a1, b1, a2, b2, a3, b3 : std_logic_vector(17 downto 0) := (others => '0');
    signal p0, p1, p2, p3 : std_logic_vector(47 downto 0);
    constant OPSEL : std_logic_vector(6 downto 0) := "0000101";
    constant ZERO48 : std_logic_vector(47 downto 0) := (others => '0');
begin
    clk <= not clk after 5 ns;

    d0 : entity work.DSP
        generic map (A_WIDTH => 12, B_WIDTH => 10, B_SIGNED => "FALSE", P_WIDTH => 22,
                     A_PIPE => 0, B_PIPE => 0, M_PIPE => 0, P_PIPE => 0)
        port map (A => a0, B => b0, C => ZERO48, P => p0, CLK => clk, CE => ce, RST => rst, SEL => '0',
                  ADDSUB => '0', LOAD => '0', CIN => '0', OPSEL => OPSEL, CASC_IN => ZERO48);
    d1 : entity work.DSP
        generic map (A_PIPE => 2, B_PIPE => 2)
        port map (A => a1, B => b1, C => ZERO48, P => p1, CLK => clk, CE => ce, RST => rst, SEL => '0',
                  ADDSUB => '0', LOAD => '0', CIN => '0', OPSEL => OPSEL, CASC_IN => ZERO48);
    d2 : entity work.DSP
        generic map (A_SIGNED => "FALSE", B_SIGNED => "FALSE", M_PIPE => 0, RESET_TYPE => "ASYNC")
        port map (A => a2, B => b2, C => ZERO48, P => p2, CLK => clk, CE => ce, RST => rst, SEL => '0',
                  ADDSUB => '0', LOAD => '0', CIN => '0', OPSEL => OPSEL, CASC_IN => ZERO48);
    d3 : entity work.DSP
        generic map (A_WIDTH => 4, B_WIDTH => 4, A_PIPE => 1, B_PIPE => 0, M_PIPE => 0, P_PIPE => 0)
        port map (A => a3, B => b3, C => ZERO48, P => p3, CLK => clk, CE => ce, RST => rst, SEL => '0',
                  ADDSUB => '0', LOAD => '0', CIN => '0', OPSEL => OPSEL, CASC_IN => ZERO48);

    main : process
        type history is array (0 to 255) of signed(63 downto 0);
        variable h1, h2, h3a : history;
        variable va0, vb0, va3, vb3 : integer;
        variable n : integer := 0;
        variable failures : natural := 0;
        variable seed1, seed2 : positive := 7;
        variable x : real;

        impure function rand(low, high : integer) return integer is
        begin
            uniform(seed1, seed2, x);
            return low + integer(floor(x * real(high - low + 1)));
        end function;

        function s64(v : integer) return signed is
        begin
            return to_signed(v, 64);
        end function;

        function at(h : history; k : integer) return signed is
        begin
            if k < 0 then
                return s64(0);
            end if;
            return h(k);
        end function;

        procedure expect(name : string; cycle : integer; got : std_logic_vector; want : signed) is
        begin
            if signed(got) /= want(47 downto 0) then
                report "FAIL: " & name & " cycle " & integer'image(cycle) & ": P = " &
                    to_hstring(got) & ", expected " & to_hstring(want(47 downto 0));
                failures := failures + 1;
            end if;
        end procedure;

        -- New operands after each falling edge; the 18-bit extremes come first.
        procedure drive(cycle : integer) is
        begin
            va0 := rand(-2047, 2047);
            vb0 := rand(0, 1023);
            a0 <= "101101" & std_logic_vector(to_signed(va0, 12));
            b0 <= "11001010" & std_logic_vector(to_unsigned(vb0, 10));
            if cycle = 3 then
                a1 <= "10" & x"0000";
                b1 <= "10" & x"0000";
                a2 <= "11" & x"ffff";
                b2 <= "11" & x"ffff";
            else
                a1 <= std_logic_vector(to_signed(rand(-131072, 131071), 18));
                b1 <= std_logic_vector(to_signed(rand(-131072, 131071), 18));
                a2 <= std_logic_vector(to_unsigned(rand(0, 262143), 18));
                b2 <= std_logic_vector(to_unsigned(rand(0, 262143), 18));
            end if;
            va3 := rand(-8, 7);
            vb3 := rand(-8, 7);
            a3 <= "10101010101010" & std_logic_vector(to_signed(va3, 4));
            b3 <= "01010101010101" & std_logic_vector(to_signed(vb3, 4));
        end procedure;
    begin
        drive(0);
        wait until rising_edge(clk);
        wait until rising_edge(clk);
        wait for 1 ns;
        rst <= '0';
        for cycle in 1 to 120 loop
            wait until falling_edge(clk);
            -- A combinational path follows its operands at once.
            wait for 1 ns;
            expect("d0", cycle, p0, resize(s64(va0) * s64(vb0), 64));
            drive(cycle);
            if cycle mod 7 /= 3 and cycle mod 11 /= 5 then
                ce <= '1';
            else
                ce <= '0';
            end if;
            if cycle = 60 then
                -- Reset between edges: the asynchronous one clears P at once,
                -- the synchronous one waits for the edge.
                wait for 1 ns;
                rst <= '1';
                wait for 1 ns;
                expect("d1 sync", cycle, p1, at(h1, n - 4));
                expect("d2 async", cycle, p2, s64(0));
            end if;
            if cycle = 61 then
                rst <= '0';
            end if;
            wait until rising_edge(clk);
            if rst = '1' then
                n := 0;
            elsif ce = '1' then
                h1(n) := resize(signed(a1) * signed(b1), 64);
                h2(n) := signed(resize(unsigned(a2) * unsigned(b2), 64));
                h3a(n) := s64(va3);
                n := n + 1;
            end if;
            wait for 1 ns;
            expect("d1", cycle, p1, at(h1, n - 4));
            expect("d2", cycle, p2, at(h2, n - 2));
            expect("d3", cycle, p3, resize(at(h3a, n - 1) * s64(vb3), 64));
        end loop;
        if failures = 0 then
            report "PASS";
        else
            report "FAIL";
        end if;
        std.env.finish;
    end process;
end architecture test;
