# A Glimra matcher plug-in written in Perl.
#
# Keep "Matcher" in the file name and the ".pl" ending: that is how Glimra finds it. The file
# name is the plug-in's name; the guess records it as ACT_FOUND when this plug-in matches.
#
# Glimra compiles this file anew for every guess, so your edits apply at the next guess.
# Only subroutines (and BEGIN blocks) count: statements outside a subroutine never run.
#
# On entry %CONTEXT holds the guess: CTX_TEXT is the selected text, CTX_DIR the folder of the
# front-most document, CTX_APPID the application, and ACT_ entries found by earlier matchers.
# Values are UTF-8 byte strings. matches_context must finish within 5 seconds.
#
# Return 1 when you recognise the text, after setting the ACT_ entries you found; they go
# back into the guess. Return 0 otherwise: nothing you set is kept.

sub matches_context {
    my $text = $CONTEXT{CTX_TEXT};
    return 0 unless defined $text;

    # Change this test to recognise your own kind of text. This one turns a ticket number
    # such as ABC-123 into the address of a (made-up) issue tracker, offered by "open".
    if ($text =~ /\b([A-Z][A-Z0-9]+-\d+)\b/) {
        $CONTEXT{ACT_URL} = "https://tracker.example.com/browse/$1";
        return 1;
    }
    return 0;
}
