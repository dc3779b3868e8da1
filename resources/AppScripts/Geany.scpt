#!/usr/bin/perl
# "selected_files" for the Geany editor, whose title reads "file - /folder - Geany": the
# document is the file in that folder.
use strict;
use warnings;
use lib "$ENV{GLIMRA_RESOURCES}/perl5";
use Glimra::Handlers;

Glimra::Handlers::run_with_window(selected_files => sub {
    my $report = Glimra::Handlers::window_report(@_) // return undef;
    my $title = $report->{WIN_NAME} // '';
    if ($title =~ /^\*?(.+?) - (~?\/.*) - Geany$/) {
        my ($name, $folder) = ($1, $2);
        $folder =~ s/^~(?=\/|$)/$ENV{HOME}/;
        $report->{CURRENT_PATH} = "$folder/$name" if -e "$folder/$name";
    }
    return $report;
});
