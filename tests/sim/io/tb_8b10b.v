// The lane model's 8b/10b encoder: known code groups, and for every data
// byte and control character at both running disparities a code of
// disparity 0 or 2 towards the other side, no run of more than five equal
// bits, and the comma only in K28.1, K28.5 and K28.7.
`timescale 1ps/1ps
module tb_8b10b;
    HSX3 lane (.RXP(1'b0), .RXN(1'b0), .REFCLK(1'b0), .RXFABCLK(1'b0), .RXFABCLK2(1'b0), .TXFABCLK(1'b0),
               .TXFABCLK2(1'b0), .RXRESET(1'b1), .TXRESET(1'b1), .TXDATA(32'd0), .TXISCTRL(4'd0),
               .TXDISPMODE(4'd0), .TXDISPVAL(4'd0), .LOOPBACK(2'b00), .POWERDOWN(1'b0), .RXPOLARITY(1'b0),
               .TXPOLARITY(1'b0), .TXMUTE(1'b0), .TXSWING(3'b100), .TXEMPH(4'b0010), .RXEQ(2'b11),
               .RXALIGNEN(1'b1), .TXP(), .TXN(), .RXDATA(), .RXISCTRL(), .RXRDERR(), .RXBADCODE(),
               .RXCDRCLK(), .TXREFOUT(), .RXSYNCLOST(), .RXFIFOSTAT(), .TXFIFOERR());

    integer    errors = 0, n, rd, i, run, ones, k;
    reg [10:0] c;
    reg        is_k, comma;

    // Byte, control, disparity (1 positive), expected code.
    task known(input [7:0] b, input kk, input r, input [9:0] want);
        begin
            c = lane.encode(b, kk, r);
            if (c[9:0] !== want) begin
                $display("%s%0d.%0d at %s: %b, expected %b", kk ? "K" : "D", b[4:0], b[7:5], r ? "RD+" : "RD-",
                         c[9:0], want);
                errors = errors + 1;
            end
        end
    endtask

    initial begin
        known(8'h00, 0, 0, 10'b100111_0100);   // D0.0
        known(8'h00, 0, 1, 10'b011000_1011);
        known(8'hB5, 0, 0, 10'b101010_1010);   // D21.5
        known(8'h4A, 0, 1, 10'b010101_0101);   // D10.2
        known(8'h07, 0, 0, 10'b111000_1011);   // D7.0
        known(8'hF1, 0, 0, 10'b100011_0111);   // D17.7, alternate form
        known(8'hF1, 0, 1, 10'b100011_0001);
        known(8'hEB, 0, 1, 10'b110100_1000);   // D11.7, alternate form
        known(8'hEB, 0, 0, 10'b110100_1110);
        known(8'hBC, 1, 0, 10'b001111_1010);   // K28.5
        known(8'hBC, 1, 1, 10'b110000_0101);
        known(8'hF7, 1, 0, 10'b111010_1000);   // K23.7
        for (n = 0; n < 512; n = n + 1) begin
            is_k = n >= 256;
            if (!is_k || lane.valid_k(n[7:0])) begin
                for (rd = 0; rd < 2; rd = rd + 1) begin
                    c = lane.encode(n[7:0], is_k, rd[0]);
                    ones = 0;
                    for (i = 0; i < 10; i = i + 1) ones = ones + c[i];
                    if (rd == 0 ? (ones != 5 && ones != 6) : (ones != 5 && ones != 4)) begin
                        $display("%0d (control %0d) at RD%s: %b has %0d ones", n % 256, is_k, rd ? "+" : "-", c[9:0], ones);
                        errors = errors + 1;
                    end
                    if (c[10] !== ((ones == 5) ? rd[0] : (ones > 5))) begin
                        $display("%0d (control %0d): running disparity after %b wrong", n % 256, is_k, c[9:0]);
                        errors = errors + 1;
                    end
                    run = 1;
                    for (i = 8; i >= 0; i = i - 1) begin
                        run = (c[i] == c[i + 1]) ? run + 1 : 1;
                        if (run > 5) begin
                            $display("%0d (control %0d): run of six in %b", n % 256, is_k, c[9:0]);
                            errors = errors + 1;
                            run = 0;
                        end
                    end
                    comma = c[9:3] == 7'b0011111 || c[9:3] == 7'b1100000;
                    k = is_k && n[4:0] == 28 && (n[7:5] == 1 || n[7:5] == 5 || n[7:5] == 7);
                    if (comma != k) begin
                        $display("%0d (control %0d): %b %s a comma", n % 256, is_k, c[9:0], comma ? "is" : "is not");
                        errors = errors + 1;
                    end
                end
            end
        end
        if (errors == 0) $display("PASS: 8b/10b codes");
        else $display("FAIL: 8b/10b codes, %0d errors", errors);
        $finish;
    end
endmodule
