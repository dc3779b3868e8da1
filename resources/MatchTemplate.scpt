#!/usr/bin/perl
# A Glimra matcher plug-in written as a handler script.
#
# Keep "Matcher" in the file name and the ".scpt" ending: that is how Glimra finds it. The
# first line names the program that runs the script; any language that reads JSON will do.
# Glimra loads the file when plug-ins are loaded: after an edit, refresh the plug-ins.
#
# Glimra runs the script with the handler's name as its one argument, writes the handler's
# arguments to standard input as one JSON array, and reads one JSON value from standard
# output. A non-zero exit status, no output or "null" means "nothing". Handlers must finish
# within 5 seconds.
#
#   matches_context(context)  context: an object of texts (CTX_TEXT, CTX_DIR, ...).
#                             Answer an object; its fields beginning with ACT_ are results.
#                             Answer null for "no match".
use strict;
use warnings;
use JSON::PP;

sub matches_context {
    my ($context) = @_;
    my $text = $context->{CTX_TEXT} // '';
    # Change this test to recognise your own kind of text. This one offers the words of a
    # one-line selection in capitals, for pasting.
    return undef if $text eq '' || $text =~ /\n/;
    return { ACT_TEXT => uc $text };
}

my %handlers = (matches_context => \&matches_context);
my $handler = $handlers{ $ARGV[0] // '' } or exit 1;
my $input = do { local $/; <STDIN> } // '';
my $arguments = length $input ? JSON::PP->new->utf8->decode($input) : [];
my $result = $handler->(@$arguments);
print JSON::PP->new->utf8->allow_nonref->encode($result), "\n" if defined $result;
