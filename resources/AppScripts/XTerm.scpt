#!/usr/bin/perl
# "selected_files" for xterm: the working folder of the program in the terminal's
# foreground, else a path in the window title. Glimra does the same without running this
# script.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run_with_window(selected_files => sub { Glimra::Handlers::window_report($_[0], terminal => 1) });
