#!/usr/bin/perl
# Writes the export checks' databases with Debian's Palm modules, an
# independent writer, and what those modules read back from each file:
#   write-export-databases.pl DIR
# DIR gets address.pdb, address-ja.pdb, datebook.pdb, todo.pdb, memo.pdb, cp1251.pdb,
# shiftjis.pdb, resources.prc, calendar.pdb, memos.pdb and, for each, NAME.json: the header, AppInfo and records as
# Palm::PDB and the format's module parse them again from the written file.
# Strings in the JSON are the file's bytes, one code point per byte.
use strict;
use warnings;
use JSON::PP;
use Palm::PDB;
use Palm::Raw;
use Palm::Address;
use Palm::Datebook;
use Palm::ToDo;
use Palm::Memo;

die "usage: write-export-databases.pl DIR\n" unless @ARGV == 1;
my $dir = $ARGV[0];
my $long = "A long line that goes on, and on; past the seventy-five octets of a content line \x{e9}t\x{e9} " x 3;

sub stamp {
    my ($pdb, $name) = @_;
    $pdb->{name} = $name;
    $pdb->{ctime} = 1017928832;    # 2002-04-04 14:00:32 UTC
    $pdb->{mtime} = 1020610893;
    $pdb->{baktime} = 1017928900;
    $pdb->{modnum} = 42;
    $pdb->{uniqueIDseed} = 0x123456;
    $pdb->{attributes}{Backup} = 1;
}

sub categories {
    my ($pdb, @names) = @_;
    for my $i (0 .. $#names) {
        $pdb->{appinfo}{categories}[$i]{name} = $names[$i];
        $pdb->{appinfo}{categories}[$i]{id} = $i;
    }
}

my $next_id = 0x5A0001;
sub add {
    my ($pdb, $category, %fields) = @_;
    my $record = $pdb->new_Record;
    my $flags = delete $fields{flags} || {};
    $record->{$_} = $fields{$_} for keys %fields;
    $record->{id} = $next_id++;
    $record->{category} = $category;
    $record->{attributes} = $flags;
    $pdb->append_Record($record);
    return $record;
}

# --- Address: every phone label, the shown phone, renamed labels.
my $addr = Palm::Address->new;
stamp($addr, "AddressDB");
categories($addr, "Unfiled", "Business", "Kin, pals; etc");
@{$addr->{appinfo}{fieldLabels}}{qw(custom1 custom2 custom3 custom4 phone8)} =
    ("Birthday", "Spouse, partner", "Kids; pets", "Web site", "Handy");
sub contact {
    my ($category, $labels, $display, %fields) = @_;
    my $flags = delete $fields{flags};
    my $record = add($addr, $category, $flags ? (flags => $flags) : ());
    $record->{fields}{$_} = $fields{$_} for keys %fields;
    @{$record->{phoneLabel}}{qw(phone1 phone2 phone3 phone4 phone5)} = @$labels;
    $record->{phoneLabel}{display} = $display;
    $record->{phoneLabel}{reserved} = 0;
}
contact(1, [0, 1, 2, 3, 4], 1, name => "Lovelace", firstName => "Ada", company => "Analytical Engines, Ltd; London",
    title => "Countess", phone1 => "+44 20 1234", phone2 => "+44 20 5678", phone3 => "+44 20 9999",
    phone4 => "555-0100 ext. 7", phone5 => "ada\@example.org", address => "12 St James's Square\nSecond floor",
    city => "London", zipCode => "SW1Y 4JH", country => "United Kingdom", custom1 => "1815-12-10",
    custom2 => "William, Earl; of Lovelace", note => "First programmer.\n$long", custom4 => "https://example.org/a\\b");
contact(2, [5, 6, 7, 0, 4], 4, firstName => "Jos\x{e9}", name => "M\x{fc}ller", phone1 => "+49 30 111",
    phone2 => "+49 30 222", phone3 => "+49 170 333", phone4 => "+49 30 444", phone5 => "jose\@example.de",
    custom3 => "Ana, Luis", city => "K\x{f6}ln", state => "NRW", country => "Germany", flags => {private => 1});
contact(0, [3, 0, 0, 0, 0], 0, company => "ACME; Roadrunner Division", phone1 => "1-800-ACME");
contact(0, [7, 5, 0, 0, 0], 1, name => "Deleted", firstName => "Gone", phone1 => "0", flags => {deleted => 1});
contact(1, [7, 6, 1, 2, 0], 0, name => $long, phone1 => "+1 555 0101", phone2 => "+1 555 0102",
    phone3 => "+1 555 0103", phone4 => "+1 555 0104", phone5 => "+1 555 0105", address => "Line 1\nLine 2\nLine 3");
$addr->Write("$dir/address.pdb");

# --- Address in Shift_JIS as a Japanese Palm keeps it: a name's reading after 01h in the same field
# (田中, たなか; 太郎, たろう; ソニー, そにー; 佐藤, さとう), and a card without readings beside it.
my $ja = Palm::Address->new;
stamp($ja, "AddressDB");
for my $person (["\x93\x63\x92\x86\x01\x82\xbd\x82\xc8\x82\xa9", "\x91\xbe\x98\x59\x01\x82\xbd\x82\xeb\x82\xa4",
                 "\x83\x5c\x83\x6a\x81\x5b\x01\x82\xbb\x82\xc9\x81\x5b"],
                ["\x8d\xb2\x93\xa1\x01\x82\xb3\x82\xc6\x82\xa4", undef, "\x8a\x94\x8e\xae\x89\xef\x8e\xd0"],
                ["Smith", "John", "Acme"]) {
    my $record = add($ja, 0);
    my %fields;
    @fields{qw(name firstName company)} = @$person;
    $record->{fields}{$_} = $fields{$_} for grep { defined $fields{$_} } keys %fields;
    $record->{fields}{phone1} = "03-1234-5678";
    @{$record->{phoneLabel}}{qw(phone1 phone2 phone3 phone4 phone5 display reserved)} = (0, 1, 2, 3, 4, 0, 0);
}
$ja->Write("$dir/address-ja.pdb");

# --- Date Book: timed and all-day, every repeat type, exceptions, alarms.
my $date = Palm::Datebook->new;
stamp($date, "DatebookDB");
sub event {
    my (%fields) = @_;
    my $book = delete $fields{book} || $date;
    my ($y, $m, $d) = @{delete $fields{date}};
    my %event = (year => $y, month => $m, day => $d, start_hour => 0xFF, start_minute => 0xFF,
        end_hour => 0xFF, end_minute => 0xFF, alarm => {}, repeat => {}, exceptions => [], other_flags => 0,
        description => "", note => undef);
    if (my $time = delete $fields{time}) {
        @event{qw(start_hour start_minute end_hour end_minute)} = @$time;
    }
    my $record = add($book, 0, %event, %fields);
}
sub repeat {
    my ($type, $frequency, $end, %more) = @_;
    my %repeat = (type => $type, frequency => $frequency, unknown => 0, %more);
    @repeat{qw(end_year end_month end_day)} = @$end if $end;
    return \%repeat;
}
event(date => [2002, 4, 5], time => [14, 0, 15, 30], description => "Dentist, room 3; bring the card",
    note => "Line one\nLine two", alarm => {advance => 10, unit => 0});
event(date => [2002, 4, 10], description => "Holiday");
event(date => [2002, 5, 1], time => [8, 0, 8, 30], description => "Run", alarm => {advance => 1, unit => 1},
    repeat => repeat(1, 2, [2002, 5, 20]), exceptions => [[5, 5, 2002], [9, 5, 2002]]);
event(date => [2002, 6, 3], time => [19, 0, 20, 0], description => "Choir",
    repeat => repeat(2, 1, undef, repeat_days => [0, 1, 0, 1, 0, 1, 0], start_of_week => 0));
event(date => [2002, 6, 4], description => "Fortnightly review",
    repeat => repeat(2, 2, [2002, 12, 31], repeat_days => [0, 0, 1, 0, 1, 0, 0], start_of_week => 1),
    exceptions => [[18, 6, 2002]]);
event(date => [2002, 1, 8], time => [12, 0, 13, 0], description => "Lunch club",
    repeat => repeat(3, 1, undef, weeknum => 1, daynum => 2));
event(date => [2002, 1, 25], description => "Quarterly report",
    repeat => repeat(3, 3, [2003, 12, 31], weeknum => 4, daynum => 5), alarm => {advance => 2, unit => 2});
event(date => [2002, 1, 15], time => [9, 30, 9, 45], description => "Rent",
    repeat => repeat(4, 2, [2002, 12, 31]));
event(date => [1970, 7, 20], description => "Birthday", note => $long, alarm => {advance => 2, unit => 2},
    repeat => repeat(5, 1, undef));
event(date => [2000, 2, 29], description => "Leap day", repeat => repeat(5, 1, [2012, 3, 1]));
event(date => [2002, 3, 1], time => [10, 0, 10, 0], description => "Instant", alarm => {advance => 5, unit => 0});
event(date => [2002, 3, 2], description => "Deleted", flags => {deleted => 1});
$date->Write("$dir/datebook.pdb");

# --- Calendar: the Date Book's appointments in time zones north and south, one without
# daylight saving, one without a name and with a negative adjustment; meetings, locations,
# blobs. Palm::Datebook writes the zone; the meeting and other blobs are packed here from
# the layout the issue gives (Palm::Datebook keeps them as bytes after the zone).
my $calendar = Palm::Datebook->new({app => "Calendar"});
stamp($calendar, "CalendarDB-PDat");
sub zone {
    my ($name, $offset, $start, $end, $adjust) = @_;
    my %zone = (name => $name, offset => $offset, dst_adjustment => $adjust, country => 3, flags => 0, custom => 0);
    @zone{qw(start_hour start_daynum start_weeknum start_month)} = @$start;
    @zone{qw(end_hour end_daynum end_weeknum end_month)} = @$end;
    return \%zone;
}
sub blob { my ($id, $data) = @_; return $id . pack("n", length $data) . $data; }
sub meeting {
    my ($status, $show_as, @attendees) = @_;
    return blob("Bd01", pack("CCn", $status, $show_as, scalar @attendees) .
                join("", map { pack("C", $_->[0]) . "$_->[1]\0$_->[2]\0" } @attendees));
}
my $berlin = zone("Berlin, Germany", 60, [2, 0, 4, 3], [3, 0, 4, 10], 60);
my $sydney = zone("Sydney (NSW)", 600, [2, 0, 0, 10], [3, 0, 0, 4], 60);
my $kolkata = zone("Kolkata", 330, [0, 0, 0, 0], [0, 0, 0, 0], 0);
my $nameless = zone("", -210, [1, 6, 1, 3], [2, 0, 0, 11], -30);
my $berlin_fixed = zone("Berlin, Germany", 60, [0, 0, 0, 0], [0, 0, 0, 0], 0);
event(book => $calendar, date => [2005, 3, 20], time => [9, 0, 9, 45], description => "Stand-up",
    location => "Room 4, second floor; east", timezone => $berlin, alarm => {advance => 10, unit => 0},
    repeat => repeat(1, 1, [2005, 4, 5]), exceptions => [[24, 3, 2005], [30, 3, 2005]],
    other_data => meeting(1, 0, [0, "Ana Lima", "ana\@example.org"], [1, "Bo \"B\" Berg", "bo\@example.org"],
                          [2, "Cy, the third", "cy+cal\@example.org"], [1, "No Mail", ""]));
event(book => $calendar, date => [2005, 9, 26], time => [18, 30, 20, 0], description => "Choir",
    location => "St Mary's", timezone => $sydney,
    repeat => repeat(2, 1, [2006, 6, 30], repeat_days => [0, 1, 0, 0, 0, 0, 0], start_of_week => 0),
    other_data => meeting(4, 1, [0, "Dee", "dee\@example.org"], [0, "Eve", "eve\@example.org"]));
event(book => $calendar, date => [2005, 1, 28], time => [14, 0, 15, 0], description => "Tea", timezone => $kolkata,
    repeat => repeat(3, 1, [2006, 1, 31], weeknum => 4, daynum => 5));
event(book => $calendar, date => [2005, 7, 4], description => "Holiday", timezone => $berlin,
    repeat => repeat(5, 1, [2010, 7, 4]));
event(book => $calendar, date => [2005, 5, 5], time => [12, 0, 13, 0], description => "Lunch, floating",
    location => "Canteen");
event(book => $calendar, date => [2005, 1, 15], time => [8, 15, 9, 0], description => "Newfoundland",
    timezone => $nameless, repeat => repeat(4, 1, [2005, 12, 15]));
event(book => $calendar, date => [2005, 10, 29], time => [22, 0, 23, 0], description => "Late show",
    timezone => $berlin, other_data => blob("Bd07", "\x00\x01\x02") . meeting(3, 3));
event(book => $calendar, date => [2005, 6, 1], time => [10, 0, 11, 0], description => "Fixed Berlin",
    timezone => $berlin_fixed, repeat => repeat(1, 7, [2005, 12, 31]));
event(book => $calendar, date => [2005, 6, 2], time => [10, 0, 11, 0], description => "Deleted",
    timezone => $sydney, flags => {deleted => 1});
$calendar->Write("$dir/calendar.pdb");

# --- To Do.
my $todo = Palm::ToDo->new;
stamp($todo, "ToDoDB");
categories($todo, "Unfiled", "Work", "Home, garden");
add($todo, 1, due_day => 20, due_month => 4, due_year => 2002, priority => 1,
    description => "Pay the bill, quickly; now",
    note => "Account 12\nReference \\ 34");
add($todo, 2, priority => 5, completed => 1, description => "Mow the lawn", note => "");
add($todo, 0, due_day => 31, due_month => 12, due_year => 2002, priority => 3, completed => 1, description => $long,
    note => "");
add($todo, 0, priority => 2, description => "Deleted", note => "", flags => {deleted => 1});
$todo->Write("$dir/todo.pdb");

# --- Memos, and memos in two other code pages.
sub memos {
    my ($file, @texts) = @_;
    my $memo = Palm::Memo->new;
    $memo->{creator} = "PMem" if $file eq "memos.pdb";
    stamp($memo, "MemoDB");
    for my $text (@texts) {
        my $flags = ref $text ? {deleted => 1} : {};
        add($memo, 0, data => (ref $text ? $$text : $text), flags => $flags);
    }
    $memo->Write("$dir/$file");
}
memos("memo.pdb", "Shopping list\nBread\nMilk", "", "Ends in a line break\n",
    "======== Memo 2 of 3 ========\nlooks like a separator", \"deleted memo", "Caf\x{e9} cr\x{e8}me \x{80}5 \x{81}",
    "\n\nstarts with blank lines", "x" x 3000);
memos("memos.pdb", "Palm OS 5 memo\nsecond line", "", \"deleted", "Caf\x{e9} \x{80}5", "x" x 2000);
memos("cp1251.pdb", "\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0!\n\xc0\xc1\xc2 \xb8\xa8");
memos("shiftjis.pdb", "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x81\x83\x82\n\x5c\x7e \xb1\xb2\xb3");

# A resource database, with a type that is no text.
my $prc = Palm::Raw->new;
stamp($prc, "Resources");
$prc->{type} = "appl";
$prc->{creator} = "ExPo";
$prc->{attributes}{ResDB} = 1;
for my $r (["tSTR", 1000, "Hello\0"], ["code", 1, "\x4e\x56\0\0"], ["\x01\xffZ ", 7, ""], ["tAIN", 1000, "App\0"]) {
    my $resource = $prc->append_Resource();
    @$resource{qw(type id data)} = @$r;
}
$prc->Write("$dir/resources.prc");

# What the modules read back from each written file.
&Palm::PDB::RegisterPDBHandlers("Palm::Raw", "");
&Palm::PDB::RegisterPRCHandlers("Palm::Raw", "");
&Palm::PDB::RegisterPDBHandlers("Palm::Memo", ["PMem", "DATA"]);
sub readback {
    my ($file) = @_;
    my $pdb = Palm::PDB->new;
    $pdb->Load("$dir/$file");
    my $raw = Palm::PDB->new;
    {
        local %Palm::PDB::PDBHandlers = ();
        &Palm::PDB::RegisterPDBHandlers("Palm::Raw", "");
        $raw->Load("$dir/$file");
    }
    my @records;
    for my $resource (@{$pdb->{resources} || []}) {
        push @records, {type => $resource->{type}, id => $resource->{id}, raw => unpack("H*", $resource->{data})};
    }
    for my $i (0 .. $#{$pdb->{records} || []}) {
        my %record = %{$pdb->{records}[$i]};
        $record{raw} = unpack("H*", $raw->{records}[$i]{data});
        $record{attributes} ||= {};
        push @records, \%record;
    }
    my %header = map { $_ => $pdb->{$_} } qw(name version ctime mtime baktime modnum type creator uniqueIDseed);
    $header{attributes} = $pdb->{attributes};
    my $json = JSON::PP->new->ascii->canonical->pretty->allow_unknown;
    open(my $out, ">", "$dir/$file.json") or die "$file.json: $!";
    print $out $json->encode({header => \%header, appinfo => $pdb->{appinfo}, records => \@records});
    close $out;
}
readback($_) for qw(address.pdb address-ja.pdb datebook.pdb todo.pdb memo.pdb cp1251.pdb shiftjis.pdb resources.prc);
readback($_) for qw(calendar.pdb memos.pdb);
