#!/usr/bin/perl
# "copy_selection" for the Geany editor: its copy keystroke, the surest way to get exactly
# what is selected in the document.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run_without_arguments(copy_selection => sub {
    Glimra::Handlers::send_keys('ctrl+c');
    return undef;
});
