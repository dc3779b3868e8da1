#!/usr/bin/perl
# "copy_selection" for any application: the PRIMARY selection holds the text selected last;
# it goes on the clipboard. When nothing is selected there, the application is asked to
# copy with its copy keystroke, unless it is a terminal: there ctrl+c interrupts the
# program running in it (so does ctrl+shift+c in xterm and its like), and since whatever a
# terminal selects is the PRIMARY selection, nothing is selected in it. Glimra does the same
# without running this script; it is the example to start a script of your own from.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run_with_window(copy_selection => sub {
    my ($window) = @_;
    return undef if Glimra::Handlers::copy_primary_to_clipboard();
    return undef unless $window;
    Glimra::Handlers::send_keys_to($window->{id}, 'ctrl+c')
        if Glimra::Handlers::known_not_terminal($window->{pid});
    return undef;
});
