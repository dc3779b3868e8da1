# A Glimra matcher plug-in run by the Korn shell.
#
# Keep "Matcher" in the file name and the ".sh" ending: that is how Glimra finds it.
# Glimra runs:   ksh THIS_FILE context
# The guess arrives as environment variables (CTX_DIR, CTX_APPID, ACT_ entries of earlier
# matchers, ...) and nothing else of Glimra's environment (not even PATH or HOME); the
# selected text arrives on standard input.
#
# Print lines of the form KEY=value. Lines whose key begins with ACT_ and whose value is not
# empty become results. Exit with status 0; any other status means "no match".
# The script must finish within 5 seconds.

PATH=/usr/local/bin:/usr/bin:/bin

case "$1" in
context)
    text=$(cat)
    # Change this test to recognise your own kind of text. This one recognises a colour
    # such as #ff8800 and offers its decimal form for pasting.
    case "$text" in
    '#'[0-9a-fA-F][0-9a-fA-F][0-9a-fA-F][0-9a-fA-F][0-9a-fA-F][0-9a-fA-F])
        hex=${text#\#}
        echo "ACT_TEXT=rgb($((16#${hex:0:2})), $((16#${hex:2:2})), $((16#${hex:4:2})))"
        ;;
    *)
        exit 1
        ;;
    esac
    ;;
esac
