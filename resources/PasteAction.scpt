#!/usr/bin/perl
# "paste_selection": Glimra has put the result on the clipboard; this brings the window the
# selection was captured from (CTX_WINDOW_ID) to the front and sends its paste keystroke.
# Without a window id (a caller that names only the application), the first visible window
# of the application's class (CTX_APPID). When that window is gone, nothing is sent: another
# window would receive the keys. On Wayland, for a window that is no X11 window (or when no
# window is known), the keys go to the focused window through "glimra keys"; where the
# desktop lets no program type into it (GNOME), the answer {"press": KEYS} asks Glimra to
# leave the text on the clipboard and tell the user to press KEYS. The second argument
# says whether the window is a terminal. The answer is null when the keys were sent, else
# a text that says why not.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run(paste_selection => sub {
    my ($context, $options) = @_;
    my $window = $context->{CTX_WINDOW_ID};
    my $class = $context->{CTX_APPID};
    if (length($ENV{WAYLAND_DISPLAY} // '') && (defined $window ? Glimra::Handlers::keys_through_wayland($window)
                                                              : !(defined $class && length $class))) {
        # The window the selection came from has the focus again once Glimra's panel went.
        # Terminals paste the clipboard with ctrl+shift+v: ctrl+v is a key for the program
        # in them.
        my $terminal = ref $options eq 'HASH' && $options->{terminal};
        my ($keys, $said) = $terminal ? ('ctrl+shift+v', 'Ctrl+Shift+V') : ('ctrl+v', 'Ctrl+V');
        my $typed = Glimra::Handlers::send_keys_to($window, $keys);
        return { press => $said } if $typed < 0;
        return $typed ? undef : 'the paste keystroke could not be typed';
    }
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
