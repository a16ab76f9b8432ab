#!/usr/bin/perl
# Loads a Memo, To Do, Address, Date Book, Memos or Calendar database with
# Debian's Palm modules and prints each record as those modules parse it
# (a Calendar's blobs after the time zone, which Palm::Datebook leaves as
# bytes, read here from the layout the issue gives), in the layout of
# `corvelle-dump --record N` without its title line and its hex dump: the
# Attributes, Category and Unique ID lines, an empty line and the fields.
# Records are introduced by "== record N".
#   print-record-fields.pl FILE
use strict;
use warnings;
use Palm::PDB;
use Palm::Memo;
use Palm::ToDo;
use Palm::Address;
use Palm::Datebook;

die "usage: print-record-fields.pl FILE\n" unless @ARGV == 1;
&Palm::PDB::RegisterPDBHandlers("Palm::Memo", ["PMem", "DATA"]);
my $pdb = Palm::PDB->new();
$pdb->Load($ARGV[0]);
binmode STDOUT;

my @weekdays = qw(Sun Mon Tue Wed Thu Fri Sat);

# One "Label:\tvalue" line; a value's line breaks go on after a TAB.
sub field {
    my ($label, $value) = @_;
    $value = "" unless defined $value;
    $value =~ s/\n/\n\t/g;
    print "$label:\t$value\n";
}

sub date { my ($y, $m, $d) = @_; return sprintf("%04d-%02d-%02d", $y, $m, $d); }

# The issue's defaults for empty labels 0 to 21.
my @default_labels = ("Last name", "First name", "Company", "Work", "Home", "Fax", "Other", "E-mail",
                      "Address", "City", "State", "Zip Code", "Country", "Title", "Custom 1", "Custom 2",
                      "Custom 3", "Custom 4", "Note", "Main", "Pager", "Mobile");
my @address_fields = qw(name firstName company phone1 phone2 phone3 phone4 phone5 address city state
                        zipCode country title custom1 custom2 custom3 custom4 note phone6 phone7 phone8);

sub label {
    my ($index) = @_;
    my $label = $pdb->{appinfo}{fieldLabels}{$address_fields[$index]};
    return defined $label && $label ne "" ? $label : $default_labels[$index];
}

sub print_address {
    my ($r) = @_;
    for my $i (0 .. 18) {
        my $name = $address_fields[$i];
        next unless defined $r->{fields}{$name};
        my $label;
        if ($name =~ /^phone(\d)$/) {
            my $kind = $r->{phoneLabel}{$name};
            $label = $kind <= 4 ? label(3 + $kind) : $kind <= 7 ? label(19 + $kind - 5) : "Phone";
        } else {
            $label = label($i);
        }
        field($label, $r->{fields}{$name});
    }
}

sub print_todo {
    my ($r) = @_;
    field("Due", defined $r->{due_day} ? date($r->{due_year}, $r->{due_month}, $r->{due_day}) : "none");
    field("Priority", $r->{priority});
    field("Completed", $r->{completed} ? "yes" : "no");
    field("Description", $r->{description});
    field("Note", $r->{note}) if defined $r->{note} && $r->{note} ne "";
}

sub print_event {
    my ($r) = @_;
    field("Date", date($r->{year}, $r->{month}, $r->{day}));
    field("Time", $r->{start_hour} == 0xFF && $r->{start_minute} == 0xFF ? "none"
          : sprintf("%02d:%02d-%02d:%02d", @$r{qw(start_hour start_minute end_hour end_minute)}));
    if ($r->{alarm}) {
        my ($n, $unit) = ($r->{alarm}{advance}, $r->{alarm}{unit});
        my $word = (qw(minute hour day))[$unit];
        field("Alarm", "$n $word" . ($n == 1 ? "" : "s") . " before");
    }
    if ($r->{repeat}) {
        my $p = $r->{repeat};
        my $text = ("", "daily", "weekly", "monthly by day", "monthly by date", "yearly")[$p->{type}];
        $text .= ", every $p->{frequency}";
        $text .= defined $p->{end_day} ? ", until " . date(@$p{qw(end_year end_month end_day)}) : ", no end";
        if ($p->{type} == 2) {
            $text .= ", on";
            for my $d (0 .. 6) { $text .= " $weekdays[$d]" if $p->{repeat_days}[$d]; }
        } elsif ($p->{type} == 3) {
            $text .= ", week " . ($p->{weeknum} == 4 ? "last" : $p->{weeknum} + 1) . " $weekdays[$p->{daynum}]";
        }
        field("Repeat", $text);
    }
    field("Exceptions", join(", ", map { date($_->[2], $_->[1], $_->[0]) } @{$r->{exceptions}}))
        if $r->{exceptions};
    field("Description", $r->{description}) if defined $r->{description};
    field("Note", $r->{note}) if defined $r->{note};
}

my @statuses = ("unanswered", "accepted", "declined", "tentative", "cancelled");
my @show_as = ("busy", "free", "tentative", "out of office");
my @roles = ("organizer", "required", "optional");
sub word { my ($words, $what, $code) = @_; return $code < @$words ? $words->[$code] : "$what $code"; }

sub print_calendar {
    my ($r) = @_;
    print_event($r);
    field("Location", $r->{location}) if defined $r->{location};
    if (my $z = $r->{timezone}) {
        my $text = ($z->{name} ne "" ? "$z->{name}, " : "") .
            sprintf("UTC%s%02d:%02d", $z->{offset} < 0 ? "-" : "+", abs($z->{offset}) / 60, abs($z->{offset}) % 60);
        $text .= sprintf(", daylight saving %+d minutes", $z->{dst_adjustment}) if $z->{dst_adjustment};
        field("Time zone", $text);
    }
    my ($rest, $meeting, @others) = (defined $r->{other_data} ? $r->{other_data} : "");
    while (length $rest >= 6) {
        my ($id, $size) = unpack("a4 n", $rest);
        my $data = substr($rest, 6, $size);
        $rest = substr($rest, 6 + $size);
        my ($status, $show, $count, $people) = length $data >= 4 ? unpack("C C n a*", $data) : (0, 0, -1, "");
        my @attendees;
        while (@attendees < $count && $people =~ s/^(.)([^\0]*)\0([^\0]*)\0//s) {
            push @attendees, [ord $1, $2, $3];
        }
        if ($id eq "Bd01" && !$meeting && @attendees == $count) {
            $meeting = [$status, $show, @attendees];
        } else {
            push @others, [$id, $size];
        }
    }
    if ($meeting) {
        my ($status, $show, @attendees) = @$meeting;
        field("Meeting", word(\@statuses, "status", $status) . ", shown as " . word(\@show_as, "code", $show));
        field("Attendee", "$_->[1] <$_->[2]>, " . word(\@roles, "role", $_->[0])) for @attendees;
    }
    for my $blob (@others) {
        (my $id = $blob->[0]) =~ s/[^\x20-\x7e]/./g;
        field("Blob $id", "$blob->[1] bytes");
    }
}

my $creator = $pdb->{creator};
my $index = 0;
for my $r (@{$pdb->{records}}) {
    print "== record ", $index++, "\n";
    my $a = $r->{attributes};
    my @words = grep { $a->{$_} } qw(expunged dirty deleted private);
    push @words, "archive" if ($a->{deleted} || $a->{expunged}) && $a->{archive};
    print "Attributes:\t", join(", ", @words), "\n";
    my $category = "";
    if (!$a->{deleted} && !$a->{expunged}) {
        my $label = $pdb->{appinfo}{categories}[$r->{category}]{name};
        $category = $r->{category} . (defined $label && $label ne "" ? " ($label)" : "");
    }
    print "Category:\t$category\n";
    printf "Unique ID:\t%06Xh\n", $r->{id};
    print "\n";
    if ($creator eq "memo" || $creator eq "PMem") { field("Memo", $r->{data}); }
    elsif ($creator eq "todo") { print_todo($r); }
    elsif ($creator eq "addr") { print_address($r); }
    elsif ($creator eq "date") { print_event($r); }
    elsif ($creator eq "PDat") { print_calendar($r); }
}
