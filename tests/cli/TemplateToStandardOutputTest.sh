#!/bin/sh
# "template save -o -" writes the template to standard output, byte for byte what it writes to a
# file (the file is saved by the test cli_template_to_file first).
#   TemplateToStandardOutputTest.sh QUILLON SAVED_TEMPLATE
quillon=$1
saved=$2

"$quillon" template save print -o - | cmp -s - "$saved"
