#!/usr/bin/perl
# Writes Memo, To Do, Address and Date Book databases with Debian's Palm
# modules (Palm::Memo, Palm::ToDo, Palm::Address, Palm::Datebook), an
# independent writer, with varied content: every record flag, every repeat
# type, alarms in each unit, exceptions, empty and missing fields, renamed
# labels and categories. The same for Palm OS 5's Memos and Calendar, whose
# time zones Palm::Datebook writes; their meeting and other blobs are packed
# here from the layout the issue gives.
#   write-record-databases.pl DIR   memo.pdb todo.pdb address.pdb address-plain.pdb datebook.pdb
#                                   memos.pdb calendar.pdb
use strict;
use warnings;
use Palm::PDB;
use Palm::Memo;
use Palm::ToDo;
use Palm::Address;
use Palm::Datebook;

die "usage: write-record-databases.pl DIR\n" unless @ARGV == 1;
my $dir = $ARGV[0];
my $next_id = 0x200001;

sub name_categories {
    my ($pdb, @names) = @_;
    for my $i (0 .. $#names) {
        $pdb->{appinfo}{categories}[$i]{name} = $names[$i];
        $pdb->{appinfo}{categories}[$i]{id} = $i;
    }
}

# Record $i's flags: every combination of the four, with the archive bit on
# some deleted or expunged ones, and a category for the others.
sub add_record {
    my ($pdb, $i) = @_;
    my $record = $pdb->new_Record();
    my %flags;
    my $n = $i % 16;
    $flags{expunged} = 1 if $n & 1;
    $flags{dirty} = 1 if $n & 2;
    $flags{deleted} = 1 if $n & 4;
    $flags{private} = 1 if $n & 8;
    $flags{archive} = 1 if ($n & 5) && ($i & 16);
    $record->{attributes} = \%flags;
    $record->{category} = ($flags{deleted} || $flags{expunged}) ? 0 : $i % 6;
    $record->{id} = $next_id++;
    $pdb->append_Record($record);
    return $record;
}

sub write_memos {
    my ($file, $creator) = @_;
    my $pdb = Palm::Memo->new();
    $pdb->{creator} = $creator;
    $pdb->{name} = "Perl memos";
    name_categories($pdb, "Unfiled", "Business", "Personal", "", "Quotes", "A sixteen-byte!!");
    my @memos = (
        "Shopping list\nBread\nMilk",
        "",
        "Tab\tinside, and a trailing line break\n",
        "Blank lines\n\n\nbetween",
        "A long memo that runs past the eighty bytes of a list cell: " . ("words " x 30),
        "Caf\xE9 cr\xE8me, na\xEFve: Latin-1 bytes as they are",
        "\n",
        "Carriage\rreturn",
    );
    for my $i (0 .. 31) {
        my $record = add_record($pdb, $i);
        $record->{data} = $memos[$i % @memos] . ($i >= @memos ? " ($i)" : "");
    }
    $pdb->Write("$dir/$file");
}

sub write_todos {
    my $pdb = Palm::ToDo->new();
    $pdb->{name} = "Perl to-dos";
    name_categories($pdb, "Unfiled", "Home", "Work");
    for my $i (0 .. 23) {
        my $record = add_record($pdb, $i);
        if ($i % 3) {
            $record->{due_year} = 1990 + 3 * $i;
            $record->{due_month} = 1 + $i % 12;
            $record->{due_day} = 1 + (7 * $i) % 31;
        }
        $record->{priority} = 1 + $i % 5;
        $record->{completed} = ($i % 4 == 1) ? 1 : 0;
        $record->{description} = ("Call the bank", "", "Two\nlines", "Pay the rent $i")[$i % 4];
        $record->{note} = ("", "A note\nover two lines", "Short note")[$i % 3] if $i % 5;
    }
    $pdb->Write("$dir/todo.pdb");
}

my @address_fields = qw(name firstName company phone1 phone2 phone3 phone4 phone5 address city state
                        zipCode country title custom1 custom2 custom3 custom4 note);

sub write_addresses {
    my ($file, $renamed) = @_;
    my $pdb = Palm::Address->new();
    $pdb->{name} = "Perl addresses";
    name_categories($pdb, "Unfiled", "Friends", "Family", "Clients");
    my $labels = $pdb->{appinfo}{fieldLabels};
    if ($renamed) {
        # Renamed labels, and some left empty so that the defaults apply.
        $labels->{name} = "Surname";
        $labels->{phone1} = "Office";
        $labels->{phone4} = "";
        $labels->{city} = "Town";
        $labels->{title} = "";
        $labels->{custom1} = "Birthday";
        $labels->{custom4} = "Sixteen bytes!!!";
        $labels->{note} = "Remarks";
        $labels->{phone7} = "Beeper";
        $labels->{phone8} = "";
    } else {
        $labels->{$_} = "" for keys %$labels;
    }
    my @people = (
        {name => "Smith", firstName => "Anna", company => "Acme", phone1 => "555-0100", phone2 => "555-0101",
         address => "1 High Street\nFlat 2", city => "Springfield", note => "Met at the fair"},
        {firstName => "Bob", phone3 => "555-0102", custom1 => "1970-01-01"},
        {company => "Globex Corporation", phone1 => "555-0199", phone5 => "info\@globex.example"},
        {name => "Jones"},
        {},
        {map { $_ => "$_ value" } @address_fields},
        {name => "Nguyen", title => "Dr", country => "Viet Nam", zipCode => "70000", state => "HCM",
         custom2 => "two", custom3 => "three", custom4 => "four", phone4 => "555-0104"},
    );
    for my $i (0 .. 20) {
        my $record = add_record($pdb, $i);
        my $person = $people[$i % @people];
        $record->{fields}{$_} = $person->{$_} for keys %$person;
        # Phone labels: every index 0 to 15 turns up, and the shown phone varies.
        for my $p (1 .. 5) { $record->{phoneLabel}{"phone$p"} = ($i + 5 * $p) % 16; }
        $record->{phoneLabel}{display} = $i % 5;
        $record->{phoneLabel}{reserved} = 0;
    }
    $pdb->Write($file);
}

# A blob: its ID, its size and its bytes.
sub blob { my ($id, $data) = @_; return $id . pack("n", length $data) . $data; }

# The meeting blob: status, show-as, attendees (role, name, e-mail).
sub meeting_blob {
    my ($status, $show_as, @attendees) = @_;
    return blob("Bd01", pack("CCn", $status, $show_as, scalar @attendees) .
                join("", map { pack("C", $_->[0]) . "$_->[1]\0$_->[2]\0" } @attendees));
}

# Time zones as Palm::Datebook stores them: offset, daylight saving's start
# and end (hour, weekday, week, month), adjustment, country, name.
sub zone {
    my ($name, $offset, $start, $end, $adjust, $custom) = @_;
    my %zone = (name => $name, offset => $offset, dst_adjustment => $adjust, country => 12, flags => 0,
                custom => $custom);
    @zone{qw(start_hour start_daynum start_weeknum start_month)} = @$start;
    @zone{qw(end_hour end_daynum end_weeknum end_month)} = @$end;
    return \%zone;
}

sub write_datebook {
    my ($file, $calendar) = @_;
    my $pdb = Palm::Datebook->new($calendar ? {app => "Calendar"} : {});
    $pdb->{name} = $calendar ? "Perl calendar" : "Perl datebook";
    name_categories($pdb, "Unfiled");
    my @repeats = (
        {},
        {type => 1, frequency => 1},
        {type => 1, frequency => 3, end_year => 2003, end_month => 12, end_day => 31},
        {type => 2, frequency => 1, repeat_days => [0, 1, 0, 1, 0, 1, 0], start_of_week => 0},
        {type => 2, frequency => 2, repeat_days => [1, 0, 0, 0, 0, 0, 1], start_of_week => 1,
         end_year => 2002, end_month => 6, end_day => 1},
        {type => 3, frequency => 1, weeknum => 0, daynum => 1},
        {type => 3, frequency => 2, weeknum => 2, daynum => 3},
        {type => 3, frequency => 1, weeknum => 3, daynum => 6},
        {type => 3, frequency => 1, weeknum => 4, daynum => 5},
        {type => 4, frequency => 1},
        {type => 4, frequency => 6, end_year => 2010, end_month => 2, end_day => 28},
        {type => 5, frequency => 1},
        {type => 5, frequency => 10},
    );
    my @alarms = (undef, [1, 0], [15, 0], [1, 1], [3, 1], [1, 2], [2, 2], [0, 0]);
    for my $i (0 .. 31) {
        my $record = add_record($pdb, $i);
        $record->{year} = 1995 + $i;
        $record->{month} = 1 + $i % 12;
        $record->{day} = 1 + (5 * $i) % 28;
        if ($i % 4) {
            @$record{qw(start_hour start_minute end_hour end_minute)} = ($i % 24, (7 * $i) % 60, ($i + 1) % 24, 0);
        }
        my $alarm = $alarms[$i % @alarms];
        $record->{alarm} = $alarm ? {advance => $alarm->[0], unit => $alarm->[1]} : {};
        $record->{repeat} = {%{$repeats[$i % @repeats]}};
        $record->{repeat}{unknown} = 0 if %{$record->{repeat}};
        $record->{exceptions} = $i % 3 == 2 ? [[1, 2, 2002], [15, 8, 2003 + $i]] : ($i % 7 == 3 ? [[29, 2, 2004]] : []);
        $record->{description} = ("Dentist", "", "Lunch with\nthe team", "Meeting $i")[$i % 4];
        $record->{note} = ("Bring the papers", "Two\nlines", "")[$i % 3] if $i % 2;
        next unless $calendar;
        $record->{location} = ("Room 4, second floor", "", "Caf\xE9 Central; Vienna")[$i % 3] if $i % 4 != 1;
        my @zones = (undef, zone("Berlin", 60, [2, 0, 4, 3], [3, 0, 4, 10], 60, 0),
                     zone("Sydney", 600, [2, 0, 0, 10], [3, 0, 0, 4], 60, 0),
                     zone("Kolkata", 330, [0, 0, 0, 1], [0, 0, 0, 1], 0, 1),
                     zone("", -210, [0, 0, 1, 3], [0, 0, 0, 11], -30, 1));
        $record->{timezone} = $zones[$i % @zones] if $zones[$i % @zones];
        my @blobs = ("", meeting_blob(1, 0, [0, "Ana Lima", "ana\@example.org"], [1, "Bo", "bo\@example.org"],
                                      [2, "", ""]),
                     blob("Bd07", "\0\1\2"), meeting_blob(4, 1) . blob("XyZ\x01", ""),
                     meeting_blob(7, 9, [5, "Cy", "cy\@example.org"]), blob("Bd01", "\1"));
        $record->{other_data} = $blobs[$i % @blobs] if $blobs[$i % @blobs] ne "";
    }
    $pdb->Write("$dir/$file");
}

write_memos("memo.pdb", "memo");
write_memos("memos.pdb", "PMem");
write_todos();
write_addresses("$dir/address.pdb", 1);
write_addresses("$dir/address-plain.pdb", 0);
write_datebook("datebook.pdb", 0);
write_datebook("calendar.pdb", 1);
