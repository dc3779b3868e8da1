package Glimra::Handlers;
# The handler-script protocol for Perl scripts, and small helpers for the X11 desktop that
# Glimra's application scripts share.
#
# Glimra runs a handler script with the handler's name as its one argument, writes the
# arguments to standard input as one JSON array and reads one JSON value from standard
# output. Scripts find this module through $GLIMRA_RESOURCES:
#
#   use lib "$ENV{GLIMRA_RESOURCES}/perl5";
#   use Glimra::Handlers;
#   Glimra::Handlers::run(selected_files => sub { my ($context) = @_; ... });
use strict;
use warnings;
use JSON::PP;

# Calls the handler named by the first argument with the decoded arguments and prints its
# answer. An unknown handler, or an answer of undef, prints nothing.
sub run {
    my %handlers = @_;
    my $handler = $handlers{ $ARGV[0] // '' } or exit 1;
    my $input = do { local $/; <STDIN> } // '';
    my $arguments = length $input ? JSON::PP->new->utf8->decode($input) : [];
    my $result = $handler->(@$arguments);
    print JSON::PP->new->utf8->allow_nonref->encode($result), "\n" if defined $result;
    exit 0;
}

# The output of a program run without a shell, or undef when it failed.
sub output_of {
    my @command = @_;
    open(my $pipe, '-|', @command) or return undef;
    my $output = do { local $/; <$pipe> };
    close($pipe) or return undef;
    chomp $output if defined $output;
    return $output;
}

sub active_window { return output_of(qw(xdotool getactivewindow)) }
sub window_name { my ($window) = @_; return output_of('xdotool', 'getwindowname', $window) }
sub window_pid { my ($window) = @_; return output_of('xdotool', 'getwindowpid', $window) }

# The class of the window (the second string of WM_CLASS): Glimra's application identifier.
sub window_class {
    my ($window) = @_;
    my $property = output_of('xprop', '-id', $window, 'WM_CLASS') // return undef;
    my @strings = $property =~ /"((?:[^"\\]|\\.)*)"/g;
    return $strings[-1];
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

# The working folder of the process in the foreground of a terminal whose process is $pid:
# the terminal's child runs on a tty, and field 8 of its stat is the tty's foreground group.
sub foreground_folder {
    my ($pid) = @_;
    return undef unless defined $pid && $pid =~ /^\d+$/;
    for my $stat (glob '/proc/[0-9]*/stat') {
        my ($child) = $stat =~ m{^/proc/(\d+)/};
        open(my $fh, '<', $stat) or next;
        my ($fields) = (<$fh> // '') =~ /\)\s+(.*)$/ or next;
        my (undef, $parent, undef, undef, $tty, $foreground) = split ' ', $fields;
        next unless $parent == $pid && $tty != 0;
        my $leader = $foreground > 0 ? $foreground : $child;
        return readlink("/proc/$leader/cwd") // readlink("/proc/$child/cwd");
    }
    return undef;
}

# The report of the "selected_files" handler for the active window.
sub window_report {
    my (%options) = @_;
    my $window = active_window() // return undef;
    my $title = window_name($window);
    my %report = (APP_NAME => window_class($window), WIN_NAME => $title);
    my @finders = (sub { path_in_title($title) }, sub { foreground_folder(window_pid($window)) });
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
    return 0 unless defined $text && length $text;
    set_selection('clipboard', $text);
    return 1;
}

# Makes $text the content of an X selection. xclip stays in the background to serve it.
sub set_selection {
    my ($selection, $text) = @_;
    open(my $xclip, '|-', "xclip -selection $selection -i >/dev/null 2>&1") or return;
    binmode($xclip, ':utf8');
    print $xclip $text;
    close($xclip);
}

sub send_keys {
    my (@keys) = @_;
    system('xdotool', 'key', '--clearmodifiers', @keys);
}

1;
