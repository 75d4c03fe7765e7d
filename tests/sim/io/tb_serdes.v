// Round trip OSER -> ISER of random words: checks that every word comes back
// after LATENCY word clocks and that the line carries each word bit 0 first.
// The receiver's clocks lag by half a bit, so it samples mid-bit.
`timescale 1ps/1ps
module tb_serdes;
    parameter integer W = 8;
    parameter RATE = "DDR";
    parameter KIND = "NETWORKING";          // CAPTURE_KIND: MEMORY takes the second bit at CLKB
    parameter integer SLIP = 0;             // ALIGN pulses (WORD_ALIGN TRUE) after reset
    localparam integer LATENCY = 2;          // CLKWORD edges from D taken to Q stable
    localparam integer TB = 1000;            // bit period, ps
    localparam integer BITS_PER_CLK = (RATE == "DDR") ? 2 : 1;
    localparam integer N = W / BITS_PER_CLK; // CLK cycles a word
    localparam integer WORDS = 40;

    reg clk = 1'b0, clkword = 1'b0, rst = 1'b1;
    reg rclk = 1'b0, rclkword = 1'b0, align = 1'b0;
    integer cnt = 0;
    always #(TB * BITS_PER_CLK / 2) clk = ~clk;
    always @(posedge clk) begin
        cnt <= (cnt + 1) % N;
        clkword <= ((cnt + 1) % N) < (N + 1) / 2;
    end
    always @(clk) rclk <= #(TB / 2) clk;
    always @(clkword) rclkword <= #(TB / 2) clkword;

    reg  [9:0] tx_word = 10'd0;
    wire [7:0] q_master, q_slave;
    wire       line, casc1, casc2, rcasc1, rcasc2;

    OSER #(.DATA_RATE_OUT(RATE), .DATA_WIDTH(W), .CASCADE_ROLE("MASTER")) tx_m (
        .CLK(clk), .CLKWORD(clkword), .D(tx_word[7:0]), .T(4'd0), .DOUT_EN(1'b1), .TOUT_EN(1'b0),
        .RST(rst), .CASC_DIN1(casc1), .CASC_DIN2(casc2), .DOUT(line), .TOUT(), .CASC_DOUT1(), .CASC_DOUT2());
    OSER #(.DATA_RATE_OUT(RATE), .DATA_WIDTH(W), .CASCADE_ROLE("SLAVE")) tx_s (
        .CLK(clk), .CLKWORD(clkword), .D({6'd0, tx_word[9:8]}), .T(4'd0), .DOUT_EN(1'b1), .TOUT_EN(1'b0),
        .RST(rst), .CASC_DIN1(1'b0), .CASC_DIN2(1'b0), .DOUT(), .TOUT(), .CASC_DOUT1(casc1), .CASC_DOUT2(casc2));
    ISER #(.CAPTURE_KIND(KIND), .DATA_RATE(RATE), .DATA_WIDTH(W), .CASCADE_ROLE("MASTER"),
           .WORD_ALIGN(SLIP > 0 ? "TRUE" : "FALSE")) rx_m (
        .D(line), .CLK(rclk), .CLKB(~rclk), .CLKWORD(rclkword), .CE(1'b1), .RST(rst), .ALIGN(align),
        .CASC_DIN1(1'b0), .CASC_DIN2(1'b0), .Q(q_master), .CASC_DOUT1(rcasc1), .CASC_DOUT2(rcasc2));
    ISER #(.CAPTURE_KIND(KIND), .DATA_RATE(RATE), .DATA_WIDTH(W), .CASCADE_ROLE("SLAVE")) rx_s (
        .D(1'b0), .CLK(rclk), .CLKB(~rclk), .CLKWORD(rclkword), .CE(1'b1), .RST(rst), .ALIGN(1'b0),
        .CASC_DIN1(rcasc1), .CASC_DIN2(rcasc2), .Q(q_slave), .CASC_DOUT1(), .CASC_DOUT2());

    wire [9:0] rx_word = (W > 8) ? {q_slave[1:0], q_master} : {2'b00, q_master};
    localparam [9:0] MASK = (10'h3FF >> (10 - W));

    reg [9:0] sent [0:WORDS + 8];
    reg [9:0] got  [0:WORDS + 8];
    reg       bits [0:(WORDS + 8) * 10];
    integer   nsent = 0, ngot = 0, nbits = 0, errors = 0, n, b, start, seed = 7;
    reg [9:0] want;

    // ALIGN high for SLIP word clocks right after reset.
    initial begin
        wait (!rst);
        repeat (SLIP) begin
            @(posedge rclkword) align <= 1'b1;
        end
        @(posedge rclkword) align <= 1'b0;
    end

    always @(posedge clkword) if (!rst) begin
        sent[nsent] = tx_word;
        nsent = nsent + 1;
        tx_word <= $random(seed) & MASK;
    end
    always @(posedge rclkword) if (nsent > 0) begin
        got[ngot] = rx_word;
        ngot = ngot + 1;
    end
    // The line, one sample a bit, mid-bit.
    always @(rclk) if (!rst && (RATE == "DDR" || rclk)) begin
        bits[nbits] = line;
        nbits = nbits + 1;
    end

    initial begin
        tx_word = 10'h155 & MASK;
        #(10 * TB * W) @(posedge clkword) rst <= 1'b0;
        wait (nsent == WORDS);
        #(4 * TB * W);
        // Words: got[n + LATENCY] == sent[n], moved SLIP bits earlier (the
        // low bits from the previous word) once the ALIGN pulses are over.
        for (n = SLIP + 2; n + LATENCY < ngot && n < WORDS - LATENCY; n = n + 1) begin
            want = ((sent[n] << SLIP) | (sent[n - 1] >> (W - SLIP))) & MASK;
            if (got[n + LATENCY] !== want) begin
                if (errors < 4) $display("word %0d: expected %h, got %h", n, want, got[n + LATENCY]);
                errors = errors + 1;
            end
        end
        // Line: some bit starts word 1, and every later word follows, bit 0 first.
        start = -1;
        for (b = 0; b < 3 * W && start < 0; b = b + 1) begin
            start = b;
            for (n = 1; n < 6; n = n + 1)
                for (i = 0; i < W; i = i + 1)
                    if (bits[b + (n - 1) * W + i] !== sent[n][i]) start = -1;
        end
        if (start < 0) begin
            $display("line does not carry the words bit 0 first");
            errors = errors + 1;
        end
        if (errors == 0) $display("PASS: %0s width %0d", RATE, W);
        else $display("FAIL: %0s width %0d, %0d errors", RATE, W, errors);
        $finish;
    end
    integer i;
endmodule
