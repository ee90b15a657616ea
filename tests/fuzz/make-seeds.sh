#!/usr/bin/env bash
# Writes the seed corpus of the receive_fuzz target into corpus/receive.
# Each seed: three configuration bytes, host data, then (length, op) byte
# pairs read from the end (see receive_fuzz.cpp for the layout).
set -euo pipefail
cd "$(dirname "$0")/corpus/receive"

seed() { # name config(3 bytes, printf escapes) data tail
    printf '%b%b%b' "$2" "$3" "$4" >"$1"
}

E='\033'
seed plain-lines        '\000\000\000' "Hello, world\r\nSecond line of text\r\nThird\r\n" '\177\004'
seed cursor-screen      '\000\000\000' "${E}H${E}J${E}&a0c0YTop left${E}K${E}&a5c10YRow ten${E}K${E}&a70c23YEnd${E}&a+3C${E}&a-2Y!" '\377\004'
seed enhancements       '\000\000\000' "plain ${E}&dBinverse${E}&d@ ${E}&dDunder${E}&d@ ${E}&dHhalf${E}&dsA${E}&dS sec\r\n" '\377\004'
seed line-drawing       '\000\000\000' "${E})B\016r,,,,,,t\017\r\n\016.\017 box  \016.\017\r\n\016f,,,,,,g\017\r\n" '\377\004'
seed network-split      '\001\000\000' "${E}&a12c5Yxy${E}&dB${E}K\r\nline\r\n" '\010\004\001\004\002\004\000\004\003\004\001\004\000\004\002\004'
seed serial-handshake   '\003\000\001' "data\005more\021\022text\r\n${E}&s1C${E}^" '\040\014\040\310'
seed function-key       '\002\000\000' "${E}&f1k2a5d3LLabelabc${E}&f2k0d4LWXYZafter\r\n" '\010\004\004\004\100\004'
seed display-functions  '\000\000\000' "${E}Yshown ${E}&a1c1Y as text\r\n${E}Znormal${E}&dB\r\n" '\377\004'
seed small-screen       '\000\205\000' "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n${E}&a0R${E}&a3Y${E}A${E}B" '\377\004'
seed hold-and-memory    '\001\000\000' "before${E}@after${E}&a14999Rbottom${E}&a0Rtop" '\020\060\377\074'
seed wide-insert        '\010\000\004' "${E}&w132F${E}&a120c0Y${E}Qinserted text that runs past the margin${E}R${E}4${E}5${E}9" '\377\004'
seed remote-backspace   '\220\000\000' "prompt> \021\010\010\010\011\011x\r\n${E}&k1R${E}&p9u1C" '\377\004'
seed fields-latin1      '\024\000\000' "${E}W${E}[field${E}]rest${E}{xmit${E}X\241\260\374\r\n" '\377\004'
seed status-requests    '\041\000\000' "${E}\`${E}a${E}^${E}~${E}*s1^${E}*y^${E}&p4^${E}d" '\377\004'
seed forms-escapes      '\000\000\000' "${E}%xwobI${E}*d1E${E}*dR${E}*dQ${E}%kR${E}%p12F${E}%c1N" '\377\004'
