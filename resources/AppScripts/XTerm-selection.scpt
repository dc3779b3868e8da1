#!/usr/bin/perl
# "copy_selection" for xterm: a terminal's selection is the PRIMARY selection. Never send
# ctrl+c to a terminal: it would interrupt the program running there. Glimra does the same
# without running this script.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run_without_arguments(copy_selection => sub {
    Glimra::Handlers::copy_primary_to_clipboard();
    return undef;
});
