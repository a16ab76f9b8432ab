#!/usr/bin/perl
# Writes a Mail database (DATA/mail) with Debian's Palm::Mail: every flag,
# priority and addressing, every folder, texts that are not ASCII (cp1252),
# long subjects, bodies with "From " lines, LF and CR LF line ends and a line
# longer than mail allows, and a deleted message. Prints each record's fields
# as Palm::Mail reads them back, one JSON object a line, for check-records.py.
#   write-mail-database.pl DIR      DIR/mail.pdb
use strict;
use warnings;
use Palm::PDB;
use Palm::Mail;
use JSON::PP;

my $dir = shift or die "usage: write-mail-database.pl DIR\n";
my $pdb = Palm::Mail->new;
$pdb->{name} = "MailDB";
my @folders = ("Inbox", "Outbox", "Deleted", "Filed", "Draft");
for my $i (0 .. $#folders) { $pdb->{appinfo}{categories}[$i] = {name => $folders[$i], id => $i, renamed => 0}; }
$pdb->{appinfo}{sort_order} = 1;
$pdb->{appinfo}{unsent} = 0x500003;

my $long_line = join(" ", map { "word$_" } 1 .. 250);
my @messages = (
    [0, {subject => "Hello", from => "Ann Lee <ann\@example.com>", to => "bob\@example.org",
         body => "Hi Bob,\nsee you.\n"}],
    [1, {subject => "Gr\xfc\xdfe aus K\xf6ln \x80 5", from => "Zo\xeb Doe <zoe\@example.com>",
         to => "\"Smith, John\" <john\@example.com>, M\xfcller <m\@example.de>", cc => "carl\@example.com",
         bcc => "dora\@example.com", replyTo => "Zo\xeb <reply\@example.com>", sentTo => "zoe\@example.com",
         body => "From here on,\n>From there\nnot From the start\r\nend"}],
    [2, {subject => "A subject long enough to be folded across more than one header line, as RFC 5322 asks of it",
         from => "c\@example.com", body => "$long_line\n>From a reply\nFrom me"}],
    [3, {subject => "", from => "", to => "", body => ""}],
    [4, {subject => "Draft \xe9t\xe9", to => "Ren\xe9e <renee\@example.fr>", body => "Caf\xe9\n"}],
);
my $n = 0;
for my $m (@messages) {
    my ($folder, $fields) = @$m;
    for my $flags (0 .. 3) {
        my $r = $pdb->new_Record;
        @$r{qw(year month day hour minute)} = (2003 + $n % 3, 1 + $n % 12, 1 + $n % 28, $n % 24, (7 * $n) % 60);
        $r->{is_read} = $flags & 1;
        $r->{has_signature} = ($flags >> 1) & 1;
        $r->{confirm_read} = ($n % 3) == 0 ? 1 : 0;
        $r->{confirm_delivery} = ($n % 4) == 1 ? 1 : 0;
        $r->{priority} = $n % 3;
        $r->{addressing} = ($n + 1) % 3;
        $r->{$_} = "" for qw(subject from to cc bcc replyTo sentTo body);
        $r->{$_} = $fields->{$_} for keys %$fields;
        $r->{category} = $folder;
        $r->{attributes}{dirty} = 1;
        $r->{attributes}{deleted} = 1 if $n == 7;
        $pdb->append_Record($r);
        ++$n;
    }
}
$pdb->Write("$dir/mail.pdb");

# Read back by Palm::Mail, as the check compares against.
my $read = Palm::PDB->new;
$read->Load("$dir/mail.pdb");
my $json = JSON::PP->new->canonical;
for my $r (@{$read->{records}}) {
    my %out = map { $_ => $r->{$_} } qw(year month day hour minute is_read has_signature confirm_read
                                         confirm_delivery priority addressing category);
    $out{deleted} = $r->{attributes}{deleted} ? 1 : 0;
    for my $k (qw(subject from to cc bcc replyTo sentTo body)) { $out{$k} = unpack("H*", $r->{$k} // ""); }
    print $json->encode(\%out), "\n";
}
