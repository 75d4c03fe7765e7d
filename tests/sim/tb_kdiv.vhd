-- The clock divider: period and duty cycle of each divide (odd divides turn
-- over on falling edges), INIT_OUT, CE with either DIVIDE_TYPE, and CLR;
-- the same checks as tb_kdiv.v:
--   k3: / 3 from INIT_OUT 1; k8: / 8; k1: / 1 follows I.
--   ks, ka: / 2 with CE low for two input cycles, taken on rising edges of
--   I only (SYNCHRONOUS) or on every edge (ASYNCHRONOUS).
library ieee;
use ieee.std_logic_1164.all;

entity tb_kdiv is
end entity tb_kdiv;

architecture test of tb_kdiv is
    signal i, start : std_logic := '0';
    signal ce, clr : std_logic := '1';
    signal o3, o8, o1, os, oa : std_logic;
    signal ok3, ok8, ok1 : boolean;
begin
    i <= not i after 5 ns;

    k3 : entity work.KDIV generic map (DIVIDE => 3, INIT_OUT => 1) port map (I => i, CE => '1', CLR => clr, O => o3);
    k8 : entity work.KDIV generic map (DIVIDE => 8) port map (I => i, CE => '1', CLR => clr, O => o8);
    k1 : entity work.KDIV generic map (DIVIDE => 1) port map (I => i, CE => '1', CLR => clr, O => o1);
    ks : entity work.KDIV generic map (DIVIDE => 2) port map (I => i, CE => ce, CLR => clr, O => os);
    ka : entity work.KDIV generic map (DIVIDE => 2, DIVIDE_TYPE => "ASYNCHRONOUS")
        port map (I => i, CE => ce, CLR => clr, O => oa);

    p3 : entity work.clk_probe generic map ("k3", 30 ns, 15 ns, 15 ns) port map (o3, start, ok3);
    p8 : entity work.clk_probe generic map ("k8", 80 ns, 40 ns, 0 ns) port map (o8, start, ok8);
    p1 : entity work.clk_probe generic map ("k1", 10 ns, 5 ns, 0 ns) port map (o1, start, ok1);

    main : process
        variable failures : natural := 0;
        procedure expect(what : string; got, want : std_logic) is
        begin
            if got /= want then
                report "FAIL: " & what & " at " & time'image(now) & ": " & std_logic'image(got) & ", expected " &
                    std_logic'image(want);
                failures := failures + 1;
            end if;
        end procedure;
    begin
        wait for 1 ns;
        expect("k3 in CLR", o3, '1');
        expect("k8 in CLR", o8, '0');
        wait for 16 ns;
        clr <= '0';
        -- The first rising edge after CLR (20 ns) starts every divider.
        wait until rising_edge(i);
        start <= '1';
        wait for 1 ps;
        expect("k3 first edge", o3, '0');
        expect("k8 first edge", o8, '1');
        wait for 300 ns;
        if not (ok3 and ok8 and ok1) then
            report "FAIL: divided clocks";
            failures := failures + 1;
        end if;
        -- CE low from 2.5 ns after a rising edge of I on which both / 2
        -- dividers turned over, for two input cycles: both hold O. The
        -- synchronous one sampled CE high on that rising edge, so it still
        -- counts the falling edge after it; the asynchronous one does not.
        wait until rising_edge(os);
        wait for 2.5 ns;
        ce <= '0';
        wait for 5 ns;
        expect("sync CE low", os, '1');
        expect("async CE low", oa, '1');
        wait for 10 ns;
        expect("sync CE held", os, '1');
        expect("async CE held", oa, '1');
        -- CE back 2.5 ns before a rising edge: the synchronous divider turns
        -- over on it (its second edge), the asynchronous one a half cycle
        -- later.
        ce <= '1';
        wait for 5 ns;
        expect("sync after CE", os, '0');
        expect("async after CE", oa, '1');
        wait for 5 ns;
        expect("async later", oa, '0');
        -- CLR returns O to INIT_OUT at once.
        clr <= '1';
        wait for 1 ps;
        expect("k3 CLR", o3, '1');
        expect("k8 CLR", o8, '0');
        if failures = 0 then
            report "PASS";
        else
            report "FAIL";
        end if;
        std.env.finish;
    end process;
end architecture test;
