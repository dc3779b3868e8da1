#!/usr/bin/perl
# "selected_files" for xterm: the working folder of the program in the terminal's
# foreground, else a path in the window title.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run_without_arguments(selected_files => sub { Glimra::Handlers::window_report(terminal => 1) });
