#!/usr/bin/perl
# "selected_files" for any application: its name (window class), the title of its front
# window, and the document path the title carries, else the working folder of the process
# in the foreground of a terminal. Glimra does the same without running this script; it is
# the example to start a script of your own from.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run_with_window(selected_files => sub { Glimra::Handlers::window_report(@_) });
