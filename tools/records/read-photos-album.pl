#!/usr/bin/perl
# Prints each record of a Photos album as Debian's Palm::ZirePhoto reads it,
# one JSON object a line (the thumbnail in hex), for check-records.py.
#   read-photos-album.pl ALBUM.pdb
use strict;
use warnings;
use Palm::PDB;
use Palm::ZirePhoto;
use JSON::PP;

my $pdb = Palm::PDB->new;
$pdb->Load(shift or die "usage: read-photos-album.pl ALBUM.pdb\n");
my $json = JSON::PP->new->canonical;
for my $r (@{$pdb->{records}}) {
    my %out = map { $_ => $r->{$_} } qw(width height size time1_secs time2_secs);
    ($out{name} = $r->{name} // "") =~ s/\0.*//s;
    $out{thumb} = unpack("H*", $r->{thumb} // "");
    print $json->encode(\%out), "\n";
}
