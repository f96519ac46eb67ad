# bash completion for localyx-query                      -*- shell-script -*-
#
# Region and town names come from the tool itself, so they are always those of
# the region files it would read. Town items hold blanks and apostrophes: they
# are matched on the typed word with its quoting removed and handed back for
# readline to quote, as it quotes file names.
#
# A TOWN may be written as people write it (Rennes, "st malo", "35000 Rennes",
# "Paris 15e", an INSEE code...): the tool resolves it. Completion offers the
# list items, matched as the tool matches names: without regard to case, with
# hyphens and apostrophes as blanks and ST for SAINT.

# Adds to COMPREPLY each line of standard input that starts with $1, without
# regard to case.
_localyx_query_add_matching() {
    local prefix=${1^^} line
    while IFS= read -r line; do
        [[ ${line^^} == "$prefix"* ]] && COMPREPLY+=("$line")
    done
}

# Prints the towns of one region, of the --file given, or of every region.
_localyx_query_towns() {
    local cmd=$1 file=$2 region=$3 n
    if [[ -n $file ]]; then
        "$cmd" --file "$file" towns 2>/dev/null
    elif [[ -n $region ]]; then
        "$cmd" towns -- "$region" 2>/dev/null
    else
        for n in {1..22}; do "$cmd" towns "$n" 2>/dev/null; done
    fi
}

_localyx_query() {
    local cmd=$1 cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    COMPREPLY=()
    # Quoting as typed: a leading quote and backslashes (no item holds one).
    cur=${cur#[\"\']}
    cur=${cur//\\/}

    case $prev in
        --file | --clients | -o | --output)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return ;;
        --encoding) _localyx_query_add_matching "$cur" <<<$'utf-8\nwindows-1252\nutf-16'; return ;;
        --separator) _localyx_query_add_matching "$cur" <<<$'\\;\n,\ntab\n\\|'; return ;;
        --population-min | --size | --sheet | --column) return ;;
    esac

    # The words typed so far, options and the file name of --file left out.
    local -a args=()
    local file='' i word options_ended=''
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ -z $options_ended && $word == -?* ]]; then
            case $word in
                --) options_ended=1 ;;
                --file) file=${COMP_WORDS[i+1]}; ((i++)) ;;
                --format | --population-min | --size | --clients | -o | --output | --sheet | --encoding | \
                    --separator | --column) ((i++)) ;;
            esac
        else
            args+=("$word")
        fi
    done
    local sub=${args[0]-}

    if [[ $prev == --format ]]; then
        case $sub in
            around) _localyx_query_add_matching "$cur" <<<$'text\ncsv\nxlsx\ngeojson\nkml\ngpx\nsvg\npng\npdf' ;;
            tour) _localyx_query_add_matching "$cur" <<<$'text\ncsv\nxlsx\nkml\ngpx\nsvg\npng\npdf' ;;
        esac
        return
    fi

    if [[ -z $options_ended && $cur == -* ]]; then
        local opts=$'--file\n--help\n--version'
        case $sub in
            neighbours) opts+=$'\n--csv' ;;
            around) opts+=$'\n--format\n--population-min\n--size\n--clients\n--sheet\n--encoding\n--separator\n--column' ;;
            tour) opts+=$'\n--format\n--no-return\n--itineraries\n--size\n--clients\n--sheet\n--encoding\n--separator\n--column' ;;
            clients) opts+=$'\n--output\n--sheet\n--encoding\n--separator\n--column' ;;
        esac
        _localyx_query_add_matching "$cur" <<<"$opts"
        return
    fi

    if [[ -z $sub ]]; then
        _localyx_query_add_matching "$cur" \
            <<<$'regions\ntowns\nneighbours\ndistance\nmap-url\nitinerary-url\naround\ntour\nclients'
        return
    fi

    # Which argument of the command is being typed, and what it names.
    local pos=${#args[@]} region=''
    local -a shape
    case $sub in
        towns) shape=(region) ;;
        neighbours) shape=(region town km) ;;
        distance) shape=(region town town) ;;
        map-url) shape=(any) ;;
        itinerary-url) shape=(any any) ;;
        around) shape=(any km) ;;
        tour) shape=(any any any any any any any any any any any any) ;;
        clients) shape=(file) ;;
        *) return ;;
    esac
    # With --file the file stands for the region, which is then not typed.
    [[ -n $file && ${shape[0]} == region ]] && shape=("${shape[@]:1}")
    [[ $sub == tour && $pos -gt ${#shape[@]} ]] && pos=${#shape[@]}
    [[ ${shape[0]} == region && -z $file ]] && region=${args[1]-}

    case ${shape[pos-1]-} in
        file)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            ;;
        region)
            _localyx_query_add_matching "$cur" < <(
                "$cmd" regions 2>/dev/null | while IFS=$'\t' read -r n _ base _; do
                    printf '%s\n%s\n' "$n" "$base"
                done)
            ;;
        town | any)
            [[ ${shape[pos-1]} == any ]] && region=''
            # Items are in capitals, and a France-wide list is too long for
            # a shell loop to filter at typing speed.
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(_localyx_query_towns "$cmd" "$file" "$region" |
                awk -v p="${cur^^}" '
                    function blanks(s) { gsub(/\047/, " ", s); gsub(/\342\200\231/, " ", s); return s }
                    BEGIN {
                        # A hyphen within the name is a blank; the one before the code stays.
                        while (match(p, /-[^-0-9]/)) p = substr(p, 1, RSTART - 1) " " substr(p, RSTART + 1)
                        # A finished ST or STE word is written out; one still typed may be STRASBOURG.
                        p = " " blanks(p)
                        while (sub(/ ST /, " SAINT ", p) || sub(/ STE /, " SAINTE ", p)) {}
                        p = substr(p, 2)
                    }
                    index(blanks($0), p) == 1')
            ;;
    esac
}
complete -F _localyx_query localyx-query
