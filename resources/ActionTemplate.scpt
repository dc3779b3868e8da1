#!/usr/bin/perl
# A Glimra action plug-in written as a handler script.
#
# Keep "Action" in the file name and the ".scpt" ending: that is how Glimra finds it. The
# first line names the program that runs the script; any language that reads JSON will do.
# Glimra loads the file when plug-ins are loaded: after an edit, refresh the plug-ins.
#
# Glimra runs the script with the handler's name as its one argument, writes the handler's
# arguments to standard input as one JSON array, and reads one JSON value from standard
# output. Handlers must finish within 5 seconds.
#
#   matched_actions(context)       context: the ACT_ results of the guess and ACT_FOUND.
#                                  Answer a list of titles, one per action you offer.
#   execute_action(title, context) the user chose the action `title`; context also holds
#                                  the CTX_ facts of the guess. The answer is ignored.
use strict;
use warnings;
use JSON::PP;

sub matched_actions {
    my ($context) = @_;
    # Change this: here an action is offered whenever the guess found words.
    return [] unless defined $context->{ACT_WORDS};
    return ['look up in the dictionary'];
}

sub execute_action {
    my ($title, $context) = @_;
    # Change this: what the action does. Here the words are looked up with the "dict" program
    # and the answer is shown by the desktop's notification tool, when they are installed.
    my $words = $context->{ACT_WORDS} // '';
    my $answer = `dict -- \Q$words\E 2>/dev/null` || "no entry for $words";
    system('notify-send', 'Glimra', substr($answer, 0, 400));
    return undef;
}

my %handlers = (matched_actions => \&matched_actions, execute_action => \&execute_action);
my $handler = $handlers{ $ARGV[0] // '' } or exit 1;
my $input = do { local $/; <STDIN> } // '';
my $arguments = length $input ? JSON::PP->new->utf8->decode($input) : [];
my $result = $handler->(@$arguments);
print JSON::PP->new->utf8->allow_nonref->encode($result), "\n" if defined $result;
