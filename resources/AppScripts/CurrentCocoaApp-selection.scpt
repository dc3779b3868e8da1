#!/usr/bin/perl
# "copy_selection" for any application: the PRIMARY selection holds the text selected last;
# it goes on the clipboard. When nothing is selected there, the application is asked to
# copy with its copy keystroke.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run_without_arguments(copy_selection => sub {
    Glimra::Handlers::copy_primary_to_clipboard() or Glimra::Handlers::send_keys('ctrl+c');
    return undef;
});
