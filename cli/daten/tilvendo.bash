# Bash completion of tilvendo, installed to share/bash-completion/completions/tilvendo:
# commands, subcommands and options by their German and English names, album names
# from "tilvendo album liste", and file names by extension for templates and outputs.

# The album names that begin with $1, quoted for the shell, one per line; the other
# arguments choose the album folder.
_tilvendo_alben() {
  local anfang=$1 name
  shift
  command tilvendo "$@" album liste 2>/dev/null | cut -f1 | while IFS= read -r name; do
    [[ $name == "$anfang"* ]] && printf '%q\n' "$name"
  done
}

# Folders and the files whose extension (any letter case) is one of $1 ("jpg|png").
_tilvendo_dateien() {
  local eintrag
  compopt -o filenames 2>/dev/null
  while IFS= read -r eintrag; do
    if [[ -d $eintrag || ${eintrag,,} =~ \.($1)$ ]]; then
      COMPREPLY+=("$eintrag")
    fi
  done < <(compgen -f -- "$2")
}

_tilvendo() {
  local aktuell=${COMP_WORDS[COMP_CWORD]}
  local vorher=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()

  local wertoptionen='--alben-pfad|--albums-dir|--album|--kacheln|--tiles|--zoom|--groesse|--größe|--size|--formanalyse|--shape-analysis|--methode|--method|--muster|--pattern|--mindestabstand|--min-distance|--einblenden|--blend|--farbtiefe|--bit-depth|--qualitaet|--qualität|--quality|--seed|--farbangleich|--color-match|--max-verwendungen|--max-uses|--druck|--print|--papier|--paper|--dpi|--liste|--placement-list|--seiten|--sheets|--ueberlappung|--überlappung|--overlap|--rand|--margin|--ausrichtung|--orientation'

  # The album folder given so far, for the album names; the words that are no options.
  local -a alben=() woerter=()
  local i wort
  for ((i = 1; i < COMP_CWORD; i++)); do
    wort=${COMP_WORDS[i]}
    case $wort in
      --alben-pfad=* | --albums-dir=*) alben=(--alben-pfad "${wort#*=}") ;;
      --alben-pfad | --albums-dir) alben=(--alben-pfad "${COMP_WORDS[i + 1]}") ;;
    esac
    if [[ $wort == -* ]]; then
      [[ $wort != *=* && $wort =~ ^($wertoptionen)$ ]] && ((i++))
    else
      woerter+=("$wort")
    fi
  done

  case $vorher in
    --album)
      mapfile -t COMPREPLY < <(_tilvendo_alben "$aktuell" "${alben[@]}")
      return ;;
    --alben-pfad | --albums-dir)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -d -- "$aktuell")
      return ;;
    --liste | --placement-list)
      _tilvendo_dateien 'csv' "$aktuell"
      return ;;
    --methode | --method)
      COMPREPLY=($(compgen -W 'standard schnell gruendlich optimal fast thorough' -- "$aktuell"))
      return ;;
    --muster | --pattern)
      COMPREPLY=($(compgen -W 'standard ignorieren abschwaechen unterdruecken ignore weaken suppress' -- "$aktuell"))
      return ;;
    --formanalyse | --shape-analysis)
      COMPREPLY=($(compgen -W '1 3 5 7 10' -- "$aktuell"))
      return ;;
    --papier | --paper)
      COMPREPLY=($(compgen -W 'ganz fuellen strecken whole fill stretch' -- "$aktuell"))
      return ;;
    --farbtiefe | --bit-depth)
      COMPREPLY=($(compgen -W '8 16 24 32' -- "$aktuell"))
      return ;;
    --seiten | --sheets)
      COMPREPLY=($(compgen -W 'A5 A4 A3 Letter Legal Tabloid' -- "$aktuell"))
      return ;;
    --ausrichtung | --orientation)
      COMPREPLY=($(compgen -W 'auto hoch quer portrait landscape' -- "$aktuell"))
      return ;;
  esac
  [[ $vorher =~ ^($wertoptionen)$ ]] && return

  local befehl=${woerter[0]-} unter=${woerter[1]-}
  local allgemein='--alben-pfad --albums-dir --help --hilfe --version'
  if [[ $aktuell == -* ]]; then
    local optionen=$allgemein
    case $befehl in
      mosaik | mosaic)
        optionen+=' --album --kacheln --tiles --zoom --groesse --size --grossformat --large-format
          --druck --print --papier --paper --dpi --liste --placement-list --formanalyse --shape-analysis
          --methode --method --muster --pattern --mindestabstand --min-distance --einblenden
          --blend --farbtiefe --bit-depth --qualitaet --quality --seed --protokoll --log
          --bericht --report --ohne-drehung --no-rotation --schnell --fast --wahrnehmung
          --perceptual --zuschneiden --crop --farbangleich --color-match --max-verwendungen
          --max-uses --jedes-foto --every-photo --ohne-namen --no-names --seiten --sheets
          --ueberlappung --overlap --rand --margin --ausrichtung --orientation --ohne-uebersicht
          --no-overview' ;;
      album)
        [[ $unter == anlegen || $unter == create ]] && optionen+=' --ohne-unterordner --no-subfolders' ;;
    esac
    COMPREPLY=($(compgen -W "$optionen" -- "$aktuell"))
    return
  fi

  local stelle=${#woerter[@]}
  case $befehl in
    '')
      COMPREPLY=($(compgen -W 'album mosaik mosaic hilfe help' -- "$aktuell")) ;;
    album)
      if ((stelle == 1)); then
        COMPREPLY=($(compgen -W 'anlegen liste zeigen aktualisieren umbenennen loeschen
          wiederherstellen create list show update rename delete restore' -- "$aktuell"))
        return
      fi
      case $unter in
        zeigen | show | aktualisieren | update | loeschen | löschen | delete | umbenennen | rename)
          if ((stelle == 2)); then
            mapfile -t COMPREPLY < <(_tilvendo_alben "$aktuell" "${alben[@]}")
          fi ;;
        anlegen | create)
          if ((stelle >= 3)); then
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$aktuell")
          fi ;;
      esac ;;
    mosaik | mosaic)
      if ((stelle == 1)); then
        _tilvendo_dateien 'bmp|jpg|jpeg|png|webp|tif|tiff|heic|heif' "$aktuell"
      elif ((stelle == 2)); then
        _tilvendo_dateien 'bmp|jpg|jpeg|png|tif|tiff|html|pdf' "$aktuell"
      fi ;;
  esac
}

complete -F _tilvendo tilvendo
