# Reads an strace -f -y log of a day (trace=openat,write,fsync,fdatasync,rename,linkat,unlink,pwrite64)
# and prints each place where a recovery record is removed before what replaces it is durable
# under a strict persistence model: a file's bytes only once it is synced, a new name only once
# its folder is. A power cut there keeps neither the new file nor the record. Nor may a file be
# cut short to be written in place while the record's last bytes are not on the disk.
function folder_of(path) { sub(/\/[^\/]*$/, "", path); return path }
# The path strace -y shows for the call's first descriptor, as in fsync(5</a/b>).
function fd_path(line) {
  if (!match(line, /\(-?[0-9]+<[^>]*>/)) return ""
  line = substr(line, RSTART, RLENGTH)
  sub(/^\(-?[0-9]+</, "", line); sub(/>$/, "", line)
  return line
}
# The n-th quoted argument.
function quoted(line, n,    i) {
  for (i = 1; i <= n; i++) {
    if (!match(line, /"[^"]*"/)) return ""
    if (i == n) return substr(line, RSTART + 1, RLENGTH - 2)
    line = substr(line, RSTART + RLENGTH)
  }
}
{ sub(/^[0-9]+ +/, "") }
# A step's marks: what a step leaves unsynced is no concern of the next one's record.
/^pwrite64\(/ { step = quoted($0, 1); sub(/\\n$/, "", step); sub(/^[BE] /, "", step); delete unsynced; delete unsynced_folder; next }
/ = -1 / { next }
# Only files count: a pipe or a socket (the sanitizers' own, say) holds nothing to sync.
/^write\(/ {
  p = fd_path($0)
  if (p ~ /\.QBR$/) record_unsynced[p] = 1
  else if (p ~ /^\// && p !~ /\.QBR\.[^\/]*$/ && p !~ /\/marks$/) unsynced[p] = 1
  next
}
/^(fsync|fdatasync)\(/ { p = fd_path($0); delete unsynced[p]; delete unsynced_folder[p]; delete record_unsynced[p]; next }
# A file cut short to be written in place: the record must already hold the tape, on the disk.
/^openat\(/ && /O_TRUNC/ {
  p = quoted($0, 1)
  if (p ~ /\.QBR(\.[^\/]*)?$/) next
  for (r in record_unsynced) print "in step " step ": " p " is cut short before the record " r " is synced"
}
/^rename\(/ { to = quoted($0, 2); unsynced_folder[folder_of(to)] = to; next }
/^linkat\(/ { to = quoted($0, 2); unsynced_folder[folder_of(to)] = to; next }
/^unlink\(/ {
  gone = quoted($0, 1)
  if (gone !~ /\.QBR$/) next
  delete record_unsynced[gone]
  for (p in unsynced) print "in step " step ": the record " gone " is removed before the written file " p " is synced"
  for (f in unsynced_folder)
    if (f != folder_of(gone))
      print "in step " step ": the record " gone " is removed before the folder of " unsynced_folder[f] " is synced"
}
