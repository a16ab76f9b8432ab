#!/usr/bin/perl
# Loads a database with Palm::PDB and checks that corvelle-dump's report says
# the same of every header field it shares and of every entry.
#   compare-report.pl CORVELLE-DUMP FILE
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;

&Palm::PDB::RegisterPRCHandlers("Palm::Raw", "");

my ($dump, $file) = @ARGV;
my $pdb = Palm::PDB->new();
$pdb->Load($file);

open(my $out, '-|', $dump, $file) or die "cannot run $dump: $!";
binmode $out;
my $report = do { local $/; <$out> };
close $out or die "$dump failed on $file\n";

my @lines = split /\r\n/, $report;
my $failures = 0;
sub check {
    my ($what, $got, $expected) = @_;
    return if defined $got && $got eq $expected;
    $failures++;
    print "MISMATCH $file: $what: report has '", (defined $got ? $got : '(nothing)'), "', Palm::PDB says '$expected'\n";
}

my %header = map { /^\t([^:\t]+?)\s*:\t(.*)$/ ? ($1 => $2) : () } @lines;
check("name", $header{"Name of database"}, $pdb->{name});
my ($type) = ($header{"Type"} // '') =~ /"(.*)"/;
check("type", $type, $pdb->{type});
my ($creator) = ($header{"creator"} // '') =~ /"(.*)"/;
check("creator", $creator, $pdb->{creator});
my $entries = $pdb->{resources} ? $pdb->{resources} : $pdb->{records};
check("count", $header{"Nb"}, sprintf("%04Xh \t(%d)", scalar @$entries, scalar @$entries));

if ($pdb->{resources}) {
    my @types = map { /^\ttype:\t\S+ \t"(.*)"\t/ ? $1 : () } @lines;
    my @ids = map { /^\tID :\t(\S+)h $/ ? hex($1) : () } @lines;
    for my $i (0 .. $#$entries) {
        check("resource $i type", $types[$i], $entries->[$i]{type});
        check("resource $i id", $ids[$i], $entries->[$i]{id});
    }
} else {
    # One block per record, from its Offset line to its ID line.
    my @blocks;
    for my $line (@lines) {
        push @blocks, [] if $line =~ /^\tOffset:/;
        push @{$blocks[-1]}, $line if @blocks;
    }
    for my $i (0 .. $#$entries) {
        my $r = $entries->[$i];
        my $a = $r->{attributes};
        my $is = sub { $_[0] ? " " : " not " };
        my @expected = (
            "\t\tRecord is" . $is->($a->{deleted}) . "deleted.",
            "\t\tRecord is" . $is->($a->{dirty} || $a->{Dirty}) . "dirty. ",
            "\t\tRecord is" . $is->($a->{expunged}) . "expunged.",
            "\t\tRecord is" . $is->($a->{private}) . "private. ",
            ($a->{deleted} || $a->{expunged})
                ? "\t\tRecord is deleted/expunged and is" . $is->($a->{archive}) . "marked to be archived."
                : "\t\tRecord category number is $r->{category} ",
        );
        my @got = @{$blocks[$i] // []}[2 .. 6];
        for my $k (0 .. 4) { check("record $i line $k", $got[$k], $expected[$k]); }
        check("record $i id", $blocks[$i][7], sprintf("\tID:\t%06Xh ", $r->{id}));
    }
}
print "$file: ", scalar @$entries, " entries compared, $failures mismatches\n";
exit($failures ? 1 : 0);
