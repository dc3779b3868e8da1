package Glimra::Handlers;
# The handler-script protocol for Perl scripts, and small helpers for the X11 desktop that
# Glimra's application scripts share; on a Wayland desktop, keys go through "glimra keys".
#
# Glimra runs a handler script with the handler's name as its one argument, writes the
# arguments to standard input as one JSON array and reads one JSON value from standard
# output. Scripts find this module through $GLIMRA_RESOURCES:
#
#   use lib "$ENV{GLIMRA_RESOURCES}/perl5";
#   use Glimra::Handlers;
#   Glimra::Handlers::run(paste_selection => sub { my ($context) = @_; ... });
#
# Every guess runs two of these scripts, so they start as little as they can: the module
# reads and writes JSON itself and loads no other module.
use strict;
use warnings;

# Calls the handler named by the first argument with the decoded arguments and prints its
# answer. An unknown handler, or an answer of undef, prints nothing.
sub run {
    my %handlers = @_;
    my $handler = $handlers{ $ARGV[0] // '' } or exit 1;
    my $input = do { local $/; <STDIN> } // '';
    my $arguments = $input =~ /\S/ ? decode($input) : [];
    die "the arguments are not a JSON array\n" unless ref $arguments eq 'ARRAY';
    answer($handler->(@$arguments));
}

# The same for handlers that need no arguments (the report on the active window, the copy
# of its selection): standard input is not read.
sub run_without_arguments {
    my %handlers = @_;
    my $handler = $handlers{ $ARGV[0] // '' } or exit 1;
    answer($handler->());
}

# The same for the handlers of application scripts ("selected_files", "copy_selection"),
# which are called with the window they are about (front_window).
sub run_with_window {
    my %handlers = @_;
    my $handler = $handlers{ $ARGV[0] // '' } or exit 1;
    answer($handler->(front_window(window_facts(do { local $/; <STDIN> } // ''))));
}

sub answer {
    my ($result) = @_;
    print encode($result), "\n" if defined $result;
    exit 0;
}

# JSON for texts, numbers, booleans, lists and objects. Byte strings (what programs print)
# are taken to be UTF-8 when they are, else Latin-1 (a window title or a file name in an old
# encoding), so that the answer is always JSON a reader accepts; character strings are
# written as UTF-8. A scalar is a number when it was made as one and reads back the same;
# true and false are the booleans that decode() gives (!!1 and !!0); every other scalar is
# a text.
sub encode {
    my ($value) = @_;
    return 'null' unless defined $value;
    return '[' . join(',', map { encode($_) } @$value) . ']' if ref $value eq 'ARRAY';
    return '{' . join(',', map { encode("$_") . ':' . encode($value->{$_}) } sort keys %$value) . '}'
        if ref $value eq 'HASH';
    return $value ? 'true' : 'false' if is_boolean($value);
    return "$value" if is_number($value);
    my $text = "$value";
    utf8::upgrade($text) unless utf8::is_utf8($text) || utf8::decode(my $copy = $text);
    utf8::encode($text) if utf8::is_utf8($text);
    $text =~ s/(["\\])/\\$1/g;
    $text =~ s/([\x00-\x1f])/sprintf('\\u%04x', ord $1)/ge;
    return qq("$text");
}

# Perl 5.36 and later keep the booleans apart from other scalars; earlier ones write them as
# the texts "1" and "".
sub is_boolean {
    no warnings;    # builtin::is_bool is experimental in 5.36
    return defined &builtin::is_bool && builtin::is_bool($_[0]);
}

# Perl 5.36 and later tell a scalar made as a number from a text that was only compared as
# one ("12" > 0), which must stay a text. Earlier ones: a string bitwise "and" with a scalar
# that holds a number is a number ("0"), with a text a text (""). Numbers that read back
# differently (inf, nan, "007") are written as texts, and so are character strings.
sub is_number {
    my ($value) = @_;
    no warnings;    # builtin::created_as_number is experimental in 5.36
    return 0 if ref $value || utf8::is_utf8($value);
    my $number = defined &builtin::created_as_number ? builtin::created_as_number($value)
                                                     : length((my $empty = '') & $value);
    return $number && 0 + $value eq $value && $value * 0 == 0;
}

# The value of one JSON text (UTF-8 bytes): texts as character strings, numbers as numbers,
# true and false as !!1 and !!0, null as undef, arrays and objects as references. Dies, as
# JSON::PP does, on anything that is not exactly one JSON value.
sub decode {
    my ($json) = @_;
    utf8::decode($json) or die "JSON: malformed UTF-8\n";
    for ($json) {    # $_ and its pos() walk through the text
        my $value = json_value(0);
        /\G[ \t\n\r]*\z/gc or json_error('the end of the text');
        return $value;
    }
}

my %ESCAPED = ('"' => '"', '\\' => '\\', '/' => '/', b => "\b", f => "\f", n => "\n",
               r => "\r", t => "\t");

sub json_value {
    my ($depth) = @_;
    $depth < 512 or json_error('less nesting');
    /\G[ \t\n\r]*/gc;
    return json_string() if /\G"/gc;
    return json_array($depth + 1) if /\G\[/gc;
    return json_object($depth + 1) if /\G\{/gc;
    return 0 + $1 if /\G(-?(?:0|[1-9][0-9]*)(?:\.[0-9]+)?(?:[eE][-+]?[0-9]+)?)/gc;
    return !!1 if /\Gtrue/gc;
    return !!0 if /\Gfalse/gc;
    return undef if /\Gnull/gc;
    json_error('a value');
}

sub json_array {
    my ($depth) = @_;
    my @array;
    return \@array if /\G[ \t\n\r]*\]/gc;
    while (1) {
        push @array, json_value($depth);
        next if /\G[ \t\n\r]*,/gc;
        return \@array if /\G[ \t\n\r]*\]/gc;
        json_error('"," or "]"');
    }
}

sub json_object {
    my ($depth) = @_;
    my %object;
    return \%object if /\G[ \t\n\r]*\}/gc;
    while (1) {
        /\G[ \t\n\r]*"/gc or json_error('a name');
        my $name = json_string();
        /\G[ \t\n\r]*:/gc or json_error('":"');
        $object{$name} = json_value($depth);
        next if /\G[ \t\n\r]*,/gc;
        return \%object if /\G[ \t\n\r]*\}/gc;
        json_error('"," or "}"');
    }
}

# The rest of a string whose opening quote has been read.
sub json_string {
    my $text = '';
    while (1) {
        if (/\G([^"\\\x00-\x1f]+)/gc) {
            $text .= $1;
        } elsif (/\G"/gc) {
            return $text;
        } elsif (/\G\\u([0-9a-fA-F]{4})/gc) {
            $text .= chr json_code_point(hex $1);
        } elsif (/\G\\(.)/gcs && exists $ESCAPED{$1}) {
            $text .= $ESCAPED{$1};
        } else {
            json_error('a character of a string');
        }
    }
}

# A character written as \uXXXX: one outside the Basic Multilingual Plane is written as a
# pair of surrogates, and a surrogate alone is no character.
sub json_code_point {
    my ($unit) = @_;
    return $unit if $unit < 0xD800 || $unit > 0xDFFF;
    $unit <= 0xDBFF && /\G\\u([dD][c-fC-F][0-9a-fA-F]{2})/gc
        or json_error('a surrogate pair');
    return 0x10000 + (($unit - 0xD800) << 10) + (hex($1) - 0xDC00);
}

sub json_error {
    my ($expected) = @_;
    die sprintf("JSON: %s expected at character %d\n", $expected, pos() // 0);
}

# The output of a program run without a shell, byte for byte as it printed it (a selection
# keeps its final line break), or undef when it failed.
sub output_of {
    my @command = @_;
    open(my $pipe, '-|', @command) or return undef;
    my $output = do { local $/; <$pipe> };
    close($pipe) or return undef;
    return $output;
}

sub active_window {
    my $property = output_of(qw(xprop -root -notype _NET_ACTIVE_WINDOW)) // return undef;
    my ($window) = $property =~ /(0x[0-9a-fA-F]+)/;
    return defined $window && hex($window) != 0 ? $window : undef;
}

# The title of the window, without the line break that ends xdotool's answer.
sub window_name {
    my ($window) = @_;
    my $name = output_of('xdotool', 'getwindowname', hex $window) // return undef;
    chomp $name;
    return $name;
}

# The class of the window (the second string of WM_CLASS): Glimra's application identifier;
# and the process that made it.
sub window_class_and_pid {
    my ($window) = @_;
    my $properties = output_of('xprop', '-id', $window, '-notype', 'WM_CLASS', '_NET_WM_PID')
        // return (undef, undef);
    my ($class_line) = $properties =~ /^WM_CLASS(.*)$/m;
    my @strings = ($class_line // '') =~ /"((?:[^"\\]|\\.)*)"/g;
    my ($pid) = $properties =~ /^_NET_WM_PID\s*=\s*(\d+)/m;
    return ($strings[-1], $pid);
}

# A path that a window title carries and that exists: "name (~/folder) - Editor",
# "name - /folder - Editor", "user@host: ~/folder", or the title itself.
sub path_in_title {
    my ($title) = @_;
    return undef unless defined $title;
    my $home = $ENV{HOME} // '';
    my @candidates = ($title =~ /\((~?\/[^()]*)\)/g, $title =~ /(?:^|\s|:)(~?\/\S*)/g);
    for my $candidate (@candidates) {
        (my $path = $candidate) =~ s/^~(?=\/|$)/$home/;
        $path =~ s/[\s,;:]+$//;
        return $path if -e $path;
    }
    return undef;
}

# The child of process $pid that leads a session on a pseudo-terminal, as the shell of a
# terminal emulator does, and the foreground process group of that terminal; an empty list
# when there is none. A child that merely inherited its parent's terminal leads no session,
# so a program started from a shell is no terminal. After the name in parentheses (which may
# hold any character, so the last ")" ends it), a stat line's fields are: state, parent,
# group, session, terminal, the terminal's foreground group.
sub terminal_session {
    my ($pid) = @_;
    return () unless defined $pid && $pid =~ /^\d+$/;
    # readdir rather than glob: glob would load File::Glob, which costs more than the scan.
    opendir(my $proc, '/proc') or return ();
    for my $child (grep { /^\d+$/ } readdir $proc) {
        open(my $fh, '<', "/proc/$child/stat") or next;
        my ($fields) = (<$fh> // '') =~ /^.*\)\s+(.*)$/ or next;
        my (undef, $parent, undef, $session, $tty, $foreground) = split ' ', $fields;
        return ($child, $foreground) if $parent == $pid && $session == $child && is_pseudo_terminal($tty);
    }
    return ();
}

# Unix 98 pseudo-terminals (/dev/pts/N) have the major device numbers 136 to 143.
sub is_pseudo_terminal {
    my ($device) = @_;
    my $major = ($device >> 8) & 0xfff;
    return $major >= 136 && $major <= 143;
}

# Whether the process $pid is a terminal emulator: one that runs a program on a
# pseudo-terminal. What it does decides, not its window class, so every terminal program
# counts, known or not.
sub is_terminal {
    my ($pid) = @_;
    my @session = terminal_session($pid);
    return @session ? 1 : 0;
}

# Whether the copy keystroke may go to the window of process $pid: only when that process can
# be looked at here and leads no terminal, where the keystroke would interrupt the program
# in it. A window that names no process, or one of another machine, gets none.
sub known_not_terminal {
    my ($pid) = @_;
    return defined $pid && $pid =~ /^\d+$/ && $pid > 0 && -e "/proc/$pid/stat" && !is_terminal($pid);
}

# The same for a window, through the process that made it (_NET_WM_PID); a window that does
# not name its process counts as no terminal.
sub window_is_terminal {
    my ($window) = @_;
    my (undef, $pid) = window_class_and_pid($window);
    return is_terminal($pid);
}

# The working folder of the process in the foreground of the terminal whose process is $pid.
sub foreground_folder {
    my ($pid) = @_;
    (my ($shell, $foreground) = terminal_session($pid)) or return undef;
    my $leader = $foreground > 0 ? $foreground : $shell;
    return readlink("/proc/$leader/cwd") // readlink("/proc/$shell/cwd");
}

# The facts of its front window that Glimra gives an application script in its argument:
# WINDOW_ID, WINDOW_CLASS, WINDOW_PID, WINDOW_TITLE (docs/PLUGINS.md). The argument is one
# object of texts, read here without a JSON module, which would take longer to load than
# the rest of the script takes to run.
sub window_facts {
    my ($input) = @_;
    my %facts;
    while ($input =~ /"((?:[^"\\]|\\.)*)"\s*:\s*"((?:[^"\\]|\\.)*)"/g) {
        my ($key, $value) = ($1, $2);
        $facts{$key} = json_text($value) if $key =~ /^WINDOW_/;
    }
    return \%facts;
}

# The text of a JSON string's inside, as bytes: Glimra writes every character but the
# control characters as UTF-8.
sub json_text {
    my ($text) = @_;
    my %escapes = (b => "\b", f => "\f", n => "\n", r => "\r", t => "\t");
    $text =~ s{\\(?:u([0-9a-fA-F]{4})|(.))}{defined $1 ? chr(hex $1) : ($escapes{$2} // $2)}ge;
    return $text;
}

# The window a handler is about: the one Glimra gave the facts of, else the active window
# as xprop and xdotool tell. A hash of its id, class, pid and title; undef without one.
sub front_window {
    my ($facts) = @_;
    if (defined $facts && defined $facts->{WINDOW_ID}) {
        return { id => $facts->{WINDOW_ID}, class => $facts->{WINDOW_CLASS},
                 pid => $facts->{WINDOW_PID}, title => $facts->{WINDOW_TITLE} };
    }
    my $id = active_window() // return undef;
    my ($class, $pid) = window_class_and_pid($id);
    return { id => $id, class => $class, pid => $pid, title => window_name($id) };
}

# The report of the "selected_files" handler on a window (front_window).
sub window_report {
    my ($window, %options) = @_;
    return undef unless $window;
    my ($title, $pid) = ($window->{title}, $window->{pid});
    my %report = (APP_NAME => $window->{class}, WIN_NAME => $title);
    my @finders = (sub { path_in_title($title) }, sub { foreground_folder($pid) });
    @finders = reverse @finders if $options{terminal};
    for my $find (@finders) {
        my $path = $find->();
        if (defined $path) { $report{CURRENT_PATH} = $path; last }
    }
    delete @report{ grep { !defined $report{$_} } keys %report };
    return \%report;
}

# Puts the PRIMARY selection (the text selected last) on the clipboard. False when nothing
# is selected.
sub copy_primary_to_clipboard {
    my $text = output_of(qw(xclip -o -selection primary));
    unless (defined $text && length $text) {
        # xclip reads X11 selections: GNOME hands a native window's selection to them, sway
        # and KWin do not. Glimra's own copy reads it through the compositor instead.
        warn "xclip cannot read the selection of a native Wayland window here\n"
            if length($ENV{WAYLAND_DISPLAY} // '');
        return 0;
    }
    set_selection('clipboard', $text);
    return 1;
}

# Makes $text, a string of bytes (UTF-8, as programs print it), the content of an X
# selection. xclip stays in the background to serve it, in a session of its own: Glimra
# ends what a script leaves in its process group when it quits, and the selection is the
# user's to keep.
sub set_selection {
    my ($selection, $text) = @_;
    open(my $xclip, '|-', "setsid xclip -selection $selection -i >/dev/null 2>&1") or return;
    binmode($xclip);
    print $xclip $text;
    close($xclip);
}

# Whether keys for the window $window (an X11 window id, "0x..."; undef when not known) go
# through the Wayland compositor: in a Wayland session, for any window that is no X11
# window (a native one, or one Glimra knows through the compositor's window list, which
# numbers XWayland windows its own way), or when no window is known.
sub keys_through_wayland {
    my ($window) = @_;
    return 0 unless length($ENV{WAYLAND_DISPLAY} // '');
    return 1 unless defined $window && $window =~ /^0x[0-9a-fA-F]+$/;
    return defined window_name($window) ? 0 : 1;
}

# Types @keys (xdotool's names: "ctrl+v", "shift+Insert") into the window that has the
# focus, which is $window: with xdotool (XTEST) for an X11 window, through "glimra keys"
# (the compositor's virtual keyboard, or KDE's fake input) on Wayland. 1 when typed, 0 when
# typing failed, -1 where the keys cannot be typed at all: the desktop lets no program type
# into that window (native windows on GNOME; "glimra keys" exits 3) or no compositor answers
# (it exits 5). There the user has to press the keys.
sub send_keys_to {
    my ($window, @keys) = @_;
    return system('xdotool', 'key', '--clearmodifiers', @keys) == 0 ? 1 : 0
        unless keys_through_wayland($window);
    my $status = system($ENV{GLIMRA_PROGRAM} // 'glimra', 'keys', @keys);
    return 1 if $status == 0;
    return 0 unless $status > 0 && ($status & 127) == 0;
    my $code = $status >> 8;
    return $code == 3 || $code == 5 ? -1 : 0;
}

# The same for the active window.
sub send_keys {
    my (@keys) = @_;
    return send_keys_to(active_window(), @keys);
}

1;
