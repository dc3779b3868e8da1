#!/usr/bin/perl
# The smallest handler script: each handler answers one kind of value.
#   echo-handler.scpt dictionary   answers an object made of its first argument's entries
#   echo-handler.scpt list         answers its arguments as a list
#   echo-handler.scpt text         answers its first argument as a text
# Try it:  echo '[{"CTX_TEXT":"hello"}]' | ./echo-handler.scpt dictionary
use strict;
use warnings;
use JSON::PP;

my $input = do { local $/; <STDIN> } // '';
my $arguments = length $input ? JSON::PP->new->utf8->decode($input) : [];
my %handlers = (
    dictionary => sub { return { %{ $_[0] // {} } } },
    list       => sub { return [@_] },
    text       => sub { return $_[0] },
);
my $handler = $handlers{ $ARGV[0] // '' } or exit 1;
print JSON::PP->new->utf8->allow_nonref->encode($handler->(@$arguments)), "\n";
