#!/usr/bin/perl
# "paste_selection": Glimra has put the result on the clipboard; this brings the window the
# selection was captured from (CTX_WINDOW_ID) to the front and sends its paste keystroke.
# Without a window id (a caller that names only the application), the first visible window
# of the application's class (CTX_APPID). When that window is gone, nothing is sent: another
# window would receive the keys. The answer is null when the keys were sent, else a text
# that says why not.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run(paste_selection => sub {
    my ($context) = @_;
    my $window = $context->{CTX_WINDOW_ID};
    my $class = $context->{CTX_APPID};
    if (defined $window && length $window) {
        return 'the window the selection was taken from is closed'
            unless $window =~ /^0x[0-9a-fA-F]+$/ && defined Glimra::Handlers::window_name($window);
    } elsif (defined $class && length $class) {
        my $windows = Glimra::Handlers::output_of('xdotool', 'search', '--onlyvisible',
                                                  '--class', '^' . quotemeta($class) . '$');
        ($window) = split /\n/, $windows // '';
        return "$class has no window open any more" unless defined $window && $window =~ /^\d+$/;
        $window = sprintf('0x%x', $window);
    } else {
        return 'it is not known which window the selection was taken from';
    }
    system('xdotool', 'windowactivate', '--sync', hex $window) == 0
        or return 'the window the selection was taken from cannot be brought to the front';
    if (Glimra::Handlers::window_is_terminal($window)) {
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
