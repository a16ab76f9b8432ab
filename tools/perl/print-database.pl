#!/usr/bin/perl
# The Perl side of the speed comparison: loads a database with Palm::PDB and
# prints its header and entry list.
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;

&Palm::PDB::RegisterPRCHandlers("Palm::Raw", "");
my $pdb = Palm::PDB->new();
$pdb->Load($ARGV[0]);
print "Header Information :\r\n\r\n";
printf "\tName of database:\t%s\r\n", $pdb->{name};
printf "\tversion :\t%d\r\n", $pdb->{version};
printf "\tcreation Date :\t%s\r\n", scalar gmtime($pdb->{ctime});
printf "\tmodification Date :\t%s\r\n", scalar gmtime($pdb->{mtime});
printf "\tType :\t\"%s\"\r\n\tcreator :\t\"%s\"\r\n", $pdb->{type}, $pdb->{creator};
my $entries = $pdb->{resources} || $pdb->{records};
printf "\tNb :\t%04Xh \t(%d)\r\n\r\n", scalar @$entries, scalar @$entries;
if ($pdb->{resources}) {
    print "Resources :\r\n";
    printf "\ttype:\t\"%s\"\r\n\tID :\t%04Xh \r\n\r\n", $_->{type}, $_->{id} for @$entries;
} else {
    print "Records :\r\n";
    for my $r (@$entries) {
        my $a = $r->{attributes};
        printf "\tOffset:\t%08Xh \r\n", $r->{offset} // 0;
        printf "\t\tRecord is%sdeleted.\r\n", $a->{deleted} ? " " : " not ";
        printf "\t\tRecord is%sdirty. \r\n", ($a->{dirty} || $a->{Dirty}) ? " " : " not ";
        printf "\t\tRecord is%sexpunged.\r\n", $a->{expunged} ? " " : " not ";
        printf "\t\tRecord is%sprivate. \r\n", $a->{private} ? " " : " not ";
        printf "\t\tRecord category number is %d \r\n", $r->{category};
        printf "\tID:\t%06Xh \r\n\r\n", $r->{id};
    }
}
