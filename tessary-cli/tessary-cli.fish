# fish completion for tessary-cli
set -l commands plan rename history undo redo recover

function __tessary_cli_rename_ids
    command -q tessary-cli; or return
    tessary-cli history 2>/dev/null | string match -r '^[0-9a-f]+(?=  )'
end

complete -c tessary-cli -f
complete -c tessary-cli -n "not __fish_seen_subcommand_from $commands" -a plan -d 'Show the new names without renaming'
complete -c tessary-cli -n "not __fish_seen_subcommand_from $commands" -a rename -d 'Rename the files'
complete -c tessary-cli -n "not __fish_seen_subcommand_from $commands" -a history -d 'List the last renames'
complete -c tessary-cli -n "not __fish_seen_subcommand_from $commands" -a undo -d 'Give the files their old names back'
complete -c tessary-cli -n "not __fish_seen_subcommand_from $commands" -a redo -d 'Give an undone rename its new names back'
complete -c tessary-cli -n "not __fish_seen_subcommand_from $commands" -a recover -d 'Finish or roll back an interrupted rename'
complete -c tessary-cli -n "not __fish_seen_subcommand_from $commands" -s h -l help -d 'Show the help'
complete -c tessary-cli -n "not __fish_seen_subcommand_from $commands" -l version -d 'Show the version'

set -l renaming "__fish_seen_subcommand_from plan rename"
complete -c tessary-cli -n $renaming -F
complete -c tessary-cli -n $renaming -l regex -x -d 'Regular expression; named groups become fields'
complete -c tessary-cli -n $renaming -l script -x -d 'JavaScript run once per file'
complete -c tessary-cli -n $renaming -l script-file -r -F -d 'Read the script from a file'
complete -c tessary-cli -n $renaming -l pattern -x -d 'The new name without extension'
complete -c tessary-cli -n $renaming -l order -x -a 'name listed image.date,image.time,image.subsec moddate,modtime' -d 'The order that numbers the files'
complete -c tessary-cli -n $renaming -l reverse -d 'Number the files in reverse order'
complete -c tessary-cli -n $renaming -l number-duplicates -d 'Number files that would get a taken name'
complete -c tessary-cli -n $renaming -l timeout -x -d 'Seconds the script may take for one file'
complete -c tessary-cli -n $renaming -s r -l recursive -d 'Rename the files inside folders'
complete -c tessary-cli -n $renaming -l json -d 'One JSON object per file and line'
complete -c tessary-cli -n $renaming -s v -l verbose -d 'Show every field and script log'

set -l reversing "__fish_seen_subcommand_from history undo redo"
complete -c tessary-cli -n $reversing -l json -d 'One JSON object per line'
complete -c tessary-cli -n $reversing -a '(__tessary_cli_rename_ids)' -d 'Rename ID'

complete -c tessary-cli -n "__fish_seen_subcommand_from recover" -l forward -d 'Complete the rename instead of rolling it back'
