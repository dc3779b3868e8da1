#!/usr/bin/perl
# "paste_selection": Glimra has put the result on the clipboard; this brings the window of
# the application the selection came from (CTX_APPID, its window class) to the front and
# sends its paste keystroke.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run(paste_selection => sub {
    my ($context) = @_;
    my $class = $context->{CTX_APPID};
    my $window;
    if (defined $class && length $class) {
        my $windows = Glimra::Handlers::output_of('xdotool', 'search', '--onlyvisible',
                                                  '--class', '^' . quotemeta($class) . '$');
        ($window) = split /\n/, $windows // '';
        system('xdotool', 'windowactivate', '--sync', $window) if defined $window;
    }
    if (defined $window && Glimra::Handlers::window_is_terminal($window)) {
        # In a terminal ctrl+v is a key for the program in it. shift+Insert is the paste key
        # terminals share: some paste the PRIMARY selection with it, others the clipboard;
        # both hold the text.
        my $text = $context->{ACT_TEXT} // '';
        utf8::encode($text);
        Glimra::Handlers::set_selection('primary', $text);
        Glimra::Handlers::send_keys('shift+Insert');
    } else {
        Glimra::Handlers::send_keys('ctrl+v');
    }
    return undef;
});
