#!/usr/bin/env bash
# Exits 0 when the session's display answers: the Wayland compositor that WAYLAND_DISPLAY
# names accepts a connection on its socket, or the X server that DISPLAY names answers the
# start of a connection (any X answer, even a refusal for want of a cookie, is a server).
# Otherwise says on stderr, one line for each display named, why it does not answer, and
# exits 1. Only perl's base is needed, which every Debian system has, so this runs before
# anything is installed.
set -euo pipefail
exec perl -MSocket -e '
use strict;
use warnings;

# Connects a stream socket to the address; the socket, or undef with the reason in $@.
sub connected {
  my ($family, $address) = @_;
  my $s;
  unless (socket($s, $family, SOCK_STREAM, 0)) { $@ = "no socket: $!"; return undef; }
  # A host that drops the connection attempt would otherwise keep it waiting for minutes.
  my $ok = eval {
    local $SIG{ALRM} = sub { die "no answer within 5 seconds\n" };
    alarm 5;
    my $done = connect($s, $address);
    alarm 0;
    $done or die "$!\n";
  };
  if (!$ok) { chomp($@); return undef; }
  return $s;
}

sub wayland_answers {
  my $name = shift;
  my $path = $name;
  if ($name !~ m{^/}) {
    my $dir = $ENV{XDG_RUNTIME_DIR} // "";
    if ($dir eq "") { $@ = "XDG_RUNTIME_DIR is not set"; return 0; }
    $path = "$dir/$name";
  }
  if (!-S $path) { $@ = "there is no socket $path"; return 0; }
  my $s = connected(AF_UNIX, pack_sockaddr_un($path));
  if (!$s) { $@ = "$path refuses connections ($@)"; return 0; }
  close($s);
  return 1;
}

# The X server answers a connection setup within a few seconds with a status byte.
sub x_answers {
  my $name = shift;
  my ($host, $number);
  if ($name =~ m{^([^:]*):(\d+)(?:\.\d+)?$}) {
    ($host, $number) = ($1, $2);
  } else {
    $@ = "that is no display name";
    return 0;
  }
  my $s;
  if ($host eq "" || $host eq "unix") {
    my $path = "/tmp/.X11-unix/X$number";
    $s = connected(AF_UNIX, pack_sockaddr_un("\0$path"))
      // connected(AF_UNIX, pack_sockaddr_un($path));
    if (!$s) { $@ = "nothing accepts connections at $path ($@)"; return 0; }
  } else {
    my $ip = inet_aton($host);
    if (!$ip) { $@ = "the host $host is not known"; return 0; }
    $s = connected(AF_INET, pack_sockaddr_in(6000 + $number, $ip));
    if (!$s) { $@ = "nothing accepts connections on $host port " . (6000 + $number) . " ($@)"; return 0; }
  }
  my $setup = pack("a1 x n n n n x2", "B", 11, 0, 0, 0);
  syswrite($s, $setup);
  my $ready = "";
  vec($ready, fileno($s), 1) = 1;
  # The reply starts with its status (failed, success, or authenticate), and the first two
  # carry the protocol version: anything else listening there is no X server.
  my $reply = "";
  if (select($ready, undef, undef, 5) > 0) { sysread($s, $reply, 8); }
  close($s);
  if (length($reply) == 8) {
    my ($status, undef, $major) = unpack("C C n", $reply);
    return 1 if $status == 2 || (($status == 0 || $status == 1) && $major == 11);
  }
  $@ = "it accepts a connection but gives no answer of an X server";
  return 0;
}

my @said;
my $wayland = $ENV{WAYLAND_DISPLAY} // "";
my $x = $ENV{DISPLAY} // "";
if ($wayland ne "") {
  exit 0 if wayland_answers($wayland);
  push @said, "the Wayland display $wayland does not answer: $@";
}
if ($x ne "") {
  exit 0 if x_answers($x);
  push @said, "the X display $x does not answer: $@";
}
push @said, "neither DISPLAY nor WAYLAND_DISPLAY is set" if !@said;
print STDERR "$_\n" for @said;
exit 1;
'
