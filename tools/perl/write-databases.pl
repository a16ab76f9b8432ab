#!/usr/bin/perl
# Writes Palm databases with Debian's Palm::PDB, an independent writer, for
# cross-checks and speed comparisons.
#   write-databases.pl DIR            records.pdb (every flag combination) and resources.prc
#   write-databases.pl --records N FILE   a plain database of N records
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;

&Palm::PDB::RegisterPRCHandlers("Palm::Raw", "");

sub record_database {
    my ($name, $count, $vary) = @_;
    my $pdb = Palm::Raw->new();
    $pdb->{name} = $name;
    $pdb->{type} = "DATA";
    $pdb->{creator} = "PeRl";
    $pdb->{attributes}{Backup} = 1;
    $pdb->{ctime} = $pdb->{mtime} = 1017928832;    # 2002-04-04 14:00:32 UTC
    for my $i (0 .. $count - 1) {
        my $record = $pdb->append_Record();
        $record->{data} = "record $i";
        $record->{id} = 0x10000 + $i;
        $record->{attributes} = {};
        if ($vary) {
            # Every combination of the four flags, each with several categories.
            my %flags;
            $flags{expunged} = 1 if $i & 1;
            $flags{Dirty} = 1 if $i & 2;
            $flags{deleted} = 1 if $i & 4;
            $flags{private} = 1 if $i & 8;
            $flags{archive} = 1 if ($i & 16) && ($i & 5);
            $record->{attributes} = \%flags;
            $record->{category} = ($flags{deleted} || $flags{expunged}) ? 0 : ($i >> 4) % 16;
        } else {
            $record->{category} = $i % 16;
        }
    }
    return $pdb;
}

if (@ARGV == 3 && $ARGV[0] eq '--records') {
    record_database("Perl records", $ARGV[1], 0)->Write($ARGV[2]);
    exit 0;
}
die "usage: write-databases.pl DIR | --records N FILE\n" unless @ARGV == 1;
my $dir = $ARGV[0];
record_database("Perl flags", 64, 1)->Write("$dir/records.pdb");

my $prc = Palm::Raw->new();
$prc->{name} = "Perl app";
$prc->{type} = "appl";
$prc->{creator} = "PeRl";
$prc->{attributes}{ResDB} = 1;
my @resources = (["code", 0], ["code", 1], ["data", 0], ["tFRM", 1000], ["tSTR", 1001], ["Tbmp", 32767], ["tAIN", 65535]);
for my $r (@resources) {
    my $resource = $prc->append_Resource();
    $resource->{type} = $r->[0];
    $resource->{id} = $r->[1];
    $resource->{data} = "data of $r->[0] $r->[1]";
}
$prc->Write("$dir/resources.prc");
